#include "audio/dialogs/DialogControls.h"

namespace pel::dlg {

int32_t ReadPortText(const std::string& text) {
  // Ten digits could pass the 32-bit range; no port needs more than five.
  constexpr size_t kMaxDigits = 9;
  if (text.empty() || text.size() > kMaxDigits) return 0;
  int32_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace pel::dlg
