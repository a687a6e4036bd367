#pragma once

#include <windows.h>

namespace pel::win {

// Where the control's policy values are looked for, in this order; the first place that holds
// a value decides it: the machine's policy, the user's policy, the machine's own setting.
struct PolicyPlace {
  HKEY root;
  const wchar_t* path;
};

inline const PolicyPlace kPolicyPlaces[] = {
    {HKEY_LOCAL_MACHINE, L"Software\\Policies\\Pelioran"},
    {HKEY_CURRENT_USER, L"Software\\Policies\\Pelioran"},
    {HKEY_LOCAL_MACHINE, L"Software\\Pelioran"},
};

}  // namespace pel::win
