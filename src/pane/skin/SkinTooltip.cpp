#include "pane/skin/SkinTooltip.h"

#include "res/StringTable.h"

namespace pel {

void SkinTooltip::Set(int stringId, bool activate) {
  const std::string text = LoadResString(stringId);
  if (text.empty()) return;
  exists_ = true;
  text_ = text;
  active_ = activate;
  if (host_ != nullptr) host_->SetTooltipText(text_, active_);
}

void SkinTooltip::Activate(bool activate) {
  if (!exists_) return;
  active_ = activate;
  if (host_ != nullptr) host_->ActivateTooltip(activate);
}

}  // namespace pel
