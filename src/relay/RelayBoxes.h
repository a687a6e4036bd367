#pragma once

#include <array>
#include <string>

#include "ports/RelayDialogView.h"
#include "relay/RelayStatePage.h"

namespace pel {

// The relay dialog's six check boxes held in memory, as template 213 makes them: visible,
// enabled, captioned "DO 1" to "DO 6", clear. For running the dialog's logic without a window.
class RelayBoxes : public IRelayDialogView {
 public:
  RelayBoxes();

  void ShowBox(int box, bool show) override;
  void EnableBox(int box, bool enable) override;
  void SetBoxText(int box, const std::string& text) override;
  void SetBoxCheck(int box, int check) override;
  int GetBoxCheck(int box) override;
  void DestroyWindow() override { destroyed_ = true; }

  // What a click on a box does to it before the dialog hears of it: an automatic check box
  // flips its state, unless it is hidden or disabled (then nothing happens: false).
  bool Click(int box);

  bool visible(int box) const { return Names(box) && visible_[static_cast<size_t>(box)]; }
  bool enabled(int box) const { return Names(box) && enabled_[static_cast<size_t>(box)]; }
  std::string text(int box) const { return Names(box) ? text_[static_cast<size_t>(box)] : ""; }
  int check(int box) const { return Names(box) ? check_[static_cast<size_t>(box)] : 0; }
  bool destroyed() const { return destroyed_; }

 private:
  static bool Names(int box) { return box >= 0 && box < kRelayOutputs; }

  std::array<bool, kRelayOutputs> visible_;
  std::array<bool, kRelayOutputs> enabled_;
  std::array<std::string, kRelayOutputs> text_;
  std::array<int, kRelayOutputs> check_{};
  bool destroyed_ = false;
};

}  // namespace pel
