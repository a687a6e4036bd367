#pragma once

namespace pel::win {

// True while the user's high contrast mode is on: as the system answers, else as the user's
// accessibility settings record it (HKCU\Control Panel\Accessibility\HighContrast, "Flags"),
// for systems that keep the setting but do not answer for it.
bool HighContrastOn();

}  // namespace pel::win
