#include "pane/win/WinPaneView.h"

#include <algorithm>

#include "com/Module.h"
#include "hosted/NullDispatch.h"
#include "hosted/NvwVoiceDispids.h"
#include "hosted/SfiUartDispids.h"
#include "hosted/win/ComponentGuard.h"
#include "hosted/win/ComponentIds.h"
#include "pane/win/WinSkinImageSource.h"
#include "res/PaneIds.h"
#include "res/StringTable.h"

namespace pel::win {

namespace {

constexpr int kFirstList = kPaneCtlModuleList;

bool IsButton(int control) { return control >= 0 && control < kPaneButtonCount; }
bool IsList(int control) { return control == kPaneCtlModuleList || control == kPaneCtlSpeedList; }
bool IsCameraButton(int control) {
  return control >= IDC_PANE_CAM1 - IDC_PANE_CAM && control <= IDC_PANE_NONE - IDC_PANE_CAM;
}

// The name a label button gives itself: the caption in its skin.
int LabelText(int childId) {
  if (childId == IDC_PANE_MODULE_LABEL) return IDS_ACC_MODULE_SELECTION;
  if (childId == IDC_PANE_SPEED_LABEL) return IDS_ACC_SPEED;
  return 0;
}

FocusStop StopOf(HWND window, bool camera) {
  FocusStop stop{window, {0, 0, 0, 0}, camera};
  GetWindowRect(window, &stop.place);
  return stop;
}

// A component that is not there at all (or must not run here), as opposed to one that fails.
bool NotInstalled(HRESULT hr) {
  return hr == REGDB_E_CLASSNOTREG || hr == CO_E_DLLNOTFOUND ||
         hr == HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND) || hr == kComponentBlocked;
}

}  // namespace

WinPaneView::WinPaneView(std::function<HWND()> paneWindow, PaneViewEvents events,
                         HostingContext hosting)
    : paneWindow_(std::move(paneWindow)),
      events_(std::move(events)),
      hosting_(std::move(hosting)),
      skins_(com::ModuleInstance()) {}

WinPaneView::~WinPaneView() {
  ReleaseComponents();
  ReleaseWindows();
}

bool WinPaneView::CreateButton(int control, int childId, CSkinButton& button) {
  if (!IsButton(control)) return false;
  auto window = std::make_unique<WinSkinButtonWindow>(button, support_, LabelText(childId));
  if (!window->Create(paneWindow_(), childId)) return false;
  buttons_[static_cast<size_t>(control)] = std::move(window);
  return true;
}

bool WinPaneView::CreateComboBox(int control, int childId, const ChildRect& rect,
                                 CSkinComboBox& combo) {
  if (!IsList(control)) return false;
  auto window = std::make_unique<WinComboWindow>(
      combo, support_,
      control == kPaneCtlModuleList ? IDS_ACC_MODULE_SELECTION : IDS_ACC_SPEED);
  if (!window->Create(paneWindow_(), childId, rect)) return false;
  combos_[static_cast<size_t>(control - kFirstList)] = std::move(window);
  return true;
}

IDispatchPort* WinPaneView::CreatePanel(int childId) {
  const HRESULT hr = panel_.Create(
      kClsidSfiUart, paneWindow_(), RECT{0, 0, 0, 0}, childId,
      [this](int32_t dispid, const std::vector<Variant>& args) {
        if (dispid == uart_dispid::kEventSizeChanged && args.size() >= 2 &&
            events_.panelSizeChanged) {
          events_.panelSizeChanged(args[0].AsInt(), args[1].AsInt());
        }
      },
      hosting_);
  if (SUCCEEDED(hr)) return panel_.Dispatch();
  return NotInstalled(hr) ? &NullDispatch::Instance() : nullptr;
}

bool WinPaneView::LoadBackground(int resource, int width, int height) {
  background_ = LoadBitmapResource(com::ModuleInstance(), resource, width, height);
  return static_cast<bool>(background_);
}

HWND WinPaneView::ControlWindow(int control) const {
  if (control == kPaneCtlPanel) return panel_.Window();
  return PickWindow(control, [](const auto& child) { return child.Window(); });
}

HWND WinPaneView::TooltipWindow(int control) const {
  return PickWindow(control, [](const auto& child) { return child.TooltipWindow(); });
}

void WinPaneView::MoveControl(int control, int x, int y, int width, int height) {
  if (control == kPaneCtlPanel) {
    panel_.Move(RECT{x, y, x + width, y + height});
    return;
  }
  if (HWND window = ControlWindow(control)) MoveWindow(window, x, y, width, height, TRUE);
}

void WinPaneView::ShowControl(int control, bool show) {
  if (HWND window = ControlWindow(control)) ShowWindow(window, show ? SW_SHOW : SW_HIDE);
}

void WinPaneView::EnableControl(int control, bool enable) {
  if (HWND window = ControlWindow(control)) EnableWindow(window, enable ? TRUE : FALSE);
}

void WinPaneView::ResizePane(int width, int height) {
  if (HWND pane = paneWindow_()) {
    SetWindowPos(pane, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

IDispatchPort* WinPaneView::CreateVoiceControl(int childId) {
  auto voice = std::make_unique<HostedControl>();
  const HRESULT hr = voice->Create(
      kClsidNvwVoice, paneWindow_(), RECT{0, 0, 0, 0}, childId,
      [this](int32_t dispid, const std::vector<Variant>& args) {
        if (dispid == voice_dispid::kEventStatus && args.size() >= 2 && events_.voiceStatus) {
          events_.voiceStatus(args[0].AsInt(), args[1].AsInt());
        }
      },
      hosting_);
  if (FAILED(hr)) return nullptr;
  voice_ = std::move(voice);
  return voice_->Dispatch();
}

void WinPaneView::DestroyVoiceControl() { voice_.reset(); }

std::vector<FocusStop> WinPaneView::FocusStops() const {
  std::vector<FocusStop> stops;
  for (size_t i = 0; i < buttons_.size(); ++i) {
    const auto& button = buttons_[i];
    if (button && button->TakesFocus()) {
      stops.push_back(StopOf(button->Window(), IsCameraButton(static_cast<int>(i))));
    }
  }
  for (const auto& combo : combos_) {
    if (combo && combo->TakesFocus()) stops.push_back(StopOf(combo->Window(), false));
  }
  std::stable_sort(stops.begin(), stops.end(), [](const FocusStop& a, const FocusStop& b) {
    return a.place.top != b.place.top ? a.place.top < b.place.top : a.place.left < b.place.left;
  });
  return stops;
}

WinSkinButtonWindow* WinPaneView::ButtonOf(HWND window) const {
  for (const auto& button : buttons_) {
    if (button && window != nullptr && button->Window() == window) return button.get();
  }
  return nullptr;
}

WinComboWindow* WinPaneView::ComboOf(HWND window) const {
  for (const auto& combo : combos_) {
    if (combo && window != nullptr && combo->Window() == window) return combo.get();
  }
  return nullptr;
}

bool WinPaneView::DrawItem(const DRAWITEMSTRUCT& item) const {
  WinSkinButtonWindow* button = ButtonOf(item.hwndItem);
  if (button != nullptr) button->Draw(item);
  return button != nullptr;
}

bool WinPaneView::SelectionChanged(HWND child) {
  WinComboWindow* combo = ComboOf(child);
  if (combo != nullptr) combo->OnSelChange();
  return combo != nullptr;
}

void WinPaneView::ReleaseComponents() {
  voice_.reset();
  panel_.Destroy();
  background_.Reset();
}

void WinPaneView::ReleaseWindows() {
  for (auto& button : buttons_) button.reset();
  for (auto& combo : combos_) combo.reset();
}

}  // namespace pel::win
