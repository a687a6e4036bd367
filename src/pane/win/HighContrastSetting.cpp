#include "pane/win/HighContrastSetting.h"

#include <windows.h>

#include "net/ParseNumber.h"  // the same bounded reading as for numbers in server pages

namespace pel::win {

namespace {

bool RecordedOn() {
  wchar_t value[16] = {};
  DWORD bytes = sizeof value - sizeof value[0];  // room for the terminator in any case
  if (RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Accessibility\\HighContrast", L"Flags",
                   RRF_RT_REG_SZ, nullptr, value, &bytes) != ERROR_SUCCESS) {
    return false;
  }
  char digits[16] = {};
  size_t length = 0;
  for (; length < 15 && value[length] != L'\0'; ++length) {
    digits[length] = value[length] < 0x80 ? static_cast<char>(value[length]) : '?';
  }
  return (static_cast<uint32_t>(ParseNumber(digits, length)) & HCF_HIGHCONTRASTON) != 0;
}

}  // namespace

bool HighContrastOn() {
  HIGHCONTRASTW contrast = {};
  contrast.cbSize = sizeof contrast;
  if (SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) != FALSE &&
      (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0) {
    return true;
  }
  return RecordedOn();
}

}  // namespace pel::win
