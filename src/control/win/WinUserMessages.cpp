#include "control/win/WinUserMessages.h"

namespace pel::win {

void WinUserMessages::ShowMessage(const std::string& text) {
  MessageBoxA(owner_ ? owner_() : nullptr, text.c_str(), "Pelioran", MB_OK);
}

}  // namespace pel::win
