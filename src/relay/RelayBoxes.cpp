#include "relay/RelayBoxes.h"

namespace pel {

RelayBoxes::RelayBoxes() {
  visible_.fill(true);
  enabled_.fill(true);
  for (int n = 0; n < kRelayOutputs; ++n) text_[static_cast<size_t>(n)] = "DO " + std::to_string(n + 1);
}

void RelayBoxes::ShowBox(int box, bool show) {
  if (Names(box)) visible_[static_cast<size_t>(box)] = show;
}

void RelayBoxes::EnableBox(int box, bool enable) {
  if (Names(box)) enabled_[static_cast<size_t>(box)] = enable;
}

void RelayBoxes::SetBoxText(int box, const std::string& text) {
  if (Names(box)) text_[static_cast<size_t>(box)] = text;
}

void RelayBoxes::SetBoxCheck(int box, int check) {
  if (Names(box)) check_[static_cast<size_t>(box)] = check != 0 ? 1 : 0;
}

int RelayBoxes::GetBoxCheck(int box) { return check(box); }

bool RelayBoxes::Click(int box) {
  if (!visible(box) || !enabled(box)) return false;
  check_[static_cast<size_t>(box)] ^= 1;
  return true;
}

}  // namespace pel
