#pragma once

#include <memory>
#include <string>
#include <vector>

#include "control/OperPaneLink.h"
#include "hosted/SFI_UART.h"
#include "ports/ControlChildren.h"
#include "ports/ControlWindow.h"
#include "ports/UserMessages.h"
#include "support/RecordingDispatch.h"

namespace pel::test {

// Records the texts of the message boxes instead of showing them.
class RecordingMessages : public IUserMessages {
 public:
  void ShowMessage(const std::string& text) override { texts.push_back(text); }
  std::vector<std::string> texts;
};

// A combo box as a list of entries with texts, item data and a selection.
class FakeComboList : public IComboList {
 public:
  struct Entry {
    std::string text;
    int32_t data = 0;
  };

  void ResetContent() override;
  int AddString(const std::string& text) override;
  int SetItemData(int index, int32_t data) override;
  int SetCurSel(int index) override;
  int GetCurSel() const override { return selection_; }
  int32_t GetItemData(int index) const override;

  const std::vector<Entry>& entries() const { return entries_; }
  std::vector<std::string> Texts() const;
  std::vector<int32_t> Data() const;
  int resets() const { return resets_; }

 private:
  std::vector<Entry> entries_;
  int selection_ = kComboError;
  int resets_ = 0;
};

// The pane with its lists, buttons, flags and serial/PTZ panel (over a recording dispatch
// named "uart"). Button states and mode switches are noted in the log as "pane ...".
class FakeOperPane : public IOperPaneLink {
 public:
  explicit FakeOperPane(CallLog& log) : log_(log), uartDispatch_("uart", log), uart_(&uartDispatch_) {}

  IComboList& ModuleList() override { return modules; }
  IComboList& SpeedList() override { return speeds; }
  void SetButtonState(int index, int state) override;
  PaneServerFields& ServerFields() override { return fields; }
  PaneCameraFlags& CameraFlags() override { return flags; }
  CSFI_UART& Uart() override { return uart_; }
  void SetPaneMode(int mode) override;

  RecordingDispatch& uartDispatch() { return uartDispatch_; }

  FakeComboList modules;
  FakeComboList speeds;
  PaneServerFields fields;
  PaneCameraFlags flags;
  int buttonStates[kPaneButtonCount] = {};  // 0: never set
  std::vector<int> modes;

 private:
  CallLog& log_;
  RecordingDispatch uartDispatch_;
  CSFI_UART uart_;
};

// The control's window operations, noted in the log as "window ...".
class FakeControlWindow : public IControlWindow {
 public:
  explicit FakeControlWindow(CallLog& log) : log_(log) {}

  void MoveViewer(int x, int y, int width, int height, bool repaint) override;
  void SizePane(int width, int height) override;
  void Invalidate(bool erase) override;
  void Update() override;
  void PostCameraLayout() override;

  int posts = 0;

 private:
  CallLog& log_;
};

// Makes a FakeOperPane and a "viewer" recording dispatch, or fails either on request.
class FakeControlChildren : public IControlChildren {
 public:
  explicit FakeControlChildren(CallLog& log) : log_(log), pane(log), viewer("viewer", log) {}

  IOperPaneLink* CreatePane(const ChildRect& rect, int id) override;
  IDispatchPort* CreateViewer(const ChildRect& rect, int id) override;

  bool paneFails = false;
  bool viewerFails = false;
  ChildRect paneRect;
  int paneId = 0;
  ChildRect viewerRect;
  int viewerId = 0;

 private:
  CallLog& log_;

 public:
  FakeOperPane pane;
  RecordingDispatch viewer;
};

}  // namespace pel::test
