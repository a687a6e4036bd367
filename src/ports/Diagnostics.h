#pragma once

#include <string_view>

namespace pel {

// Where the core's diagnostic lines go (dropped packets, socket errors and time-outs). The
// process has one sink, set by the host: the control sends the lines to the debugger, pelprobe
// to its standard error, the tests keep them. Without a sink the lines are dropped; the core
// never prints.
class IDiagnosticSink {
 public:
  virtual ~IDiagnosticSink() = default;
  // One line, without its line end. Lines come one at a time, from any thread; a sink must not
  // report diagnostics itself.
  virtual void Line(std::string_view text) = 0;
};

// Installs `sink` (nullptr for none) and answers the one it replaces, which is not called
// again once this returns.
IDiagnosticSink* SetDiagnosticSink(IDiagnosticSink* sink);

// Installs `sink` while it lives and puts back the one it replaced. As a sink's last member
// it is made after the rest of the sink and goes before it.
class DiagnosticSinkScope {
 public:
  explicit DiagnosticSinkScope(IDiagnosticSink& sink);
  ~DiagnosticSinkScope();
  DiagnosticSinkScope(const DiagnosticSinkScope&) = delete;
  DiagnosticSinkScope& operator=(const DiagnosticSinkScope&) = delete;

 private:
  IDiagnosticSink* replaced_;
};

void ReportDiagnostic(std::string_view line);

// The same from a printf-style format; one line end at the end of the text is dropped.
#if defined(__GNUC__) && !defined(_WIN32)
__attribute__((format(printf, 1, 2)))
#endif
void ReportDiagnosticF(const char* format, ...);

}  // namespace pel
