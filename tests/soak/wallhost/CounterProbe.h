// The counters are trusted only after a deliberate leak of each kind moved them: reports
// "probe windows N handles N gdi N private N threads N" with what one of each moved.
#pragma once

class Report;

void ProbeCounters(Report& report);
