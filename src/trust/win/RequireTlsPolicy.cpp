#include "trust/win/RequireTlsPolicy.h"

#include <windows.h>

#include "com/RegKey.h"
#include "trust/win/PolicyPlaces.h"

namespace pel::win {

namespace {
constexpr const wchar_t* kValueName = L"RequireTls";
}  // namespace

bool ReadRequireTlsPolicy() {
  for (const PolicyPlace& place : kPolicyPlaces) {
    com::RegKey key;
    if (key.Open(place.root, place.path, KEY_QUERY_VALUE) != ERROR_SUCCESS) continue;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    const LONG read = RegQueryValueExW(key.Get(), kValueName, nullptr, &type,
                                       reinterpret_cast<BYTE*>(&value), &size);
    if (read == ERROR_FILE_NOT_FOUND) continue;
    return read == ERROR_SUCCESS && type == REG_DWORD && size == sizeof(value) && value == 1;
  }
  return false;
}

}  // namespace pel::win
