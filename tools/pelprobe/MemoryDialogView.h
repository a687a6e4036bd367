#pragma once

#include <map>
#include <string>
#include <vector>

#include "ports/DialogView.h"

namespace pel::probe {

// A dialog window without a screen: it keeps its controls' texts, checks, enable states and
// trackbars, and a line for each change in the order made ("text 213 Connecting....",
// "check 203 1", "enable 246 0", "range 212 0 65535", "tics 212 0", "position 212 40",
// "paint", "destroy").
class MemoryDialogView : public IAudioDialogView {
 public:
  // `owner` makes the notification windows of the wave devices opened for the dialog.
  explicit MemoryDialogView(INotificationOwner& owner) : owner_(owner) {}

  void SetText(int id, const std::string& text) override;
  std::string GetText(int id) override;
  void SetCheck(int id, bool checked) override;
  bool GetCheck(int id) override;
  void EnableControl(int id, bool enable) override;
  void SetSliderRange(int id, int min, int max) override;
  void SetSliderTicFrequency(int id, int frequency) override;
  void SetSliderPosition(int id, int position) override;
  int GetSliderPosition(int id) override;
  void Paint() override;
  void DestroyWindow() override;
  INotificationOwner& NotificationOwner() override { return owner_; }

  // What the user does: types into an edit, clicks a check box or radio button (a radio
  // unchecks the other buttons of its group `group`), drags a slider.
  void Type(int id, const std::string& text) { texts_[id] = text; }
  void Click(int id, bool checked) { checks_[id] = checked; }
  void ChooseRadio(int id, const std::vector<int>& group);
  void Drag(int id, int position) { positions_[id] = position; }

  // Controls never disabled count as enabled.
  bool IsEnabled(int id) const;
  struct Range {
    int min = 0;
    int max = 0;
  };
  Range SliderRange(int id) const;
  bool destroyed() const { return destroyed_; }
  const std::vector<std::string>& log() const { return log_; }
  void ClearLog() { log_.clear(); }

 private:
  INotificationOwner& owner_;
  std::map<int, std::string> texts_;
  std::map<int, bool> checks_;
  std::map<int, bool> enabled_;
  std::map<int, Range> ranges_;
  std::map<int, int> positions_;
  std::vector<std::string> log_;
  bool destroyed_ = false;
};

}  // namespace pel::probe
