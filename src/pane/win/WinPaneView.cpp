#include "pane/win/WinPaneView.h"

#include <algorithm>

#include "Common/win/DisplaySettings.h"
#include "com/Module.h"
#include "hosted/NullDispatch.h"
#include "hosted/NvwVoiceDispids.h"
#include "hosted/SfiUartDispids.h"
#include "hosted/win/ComponentGuard.h"
#include "hosted/win/ComponentIds.h"
#include "pane/PaneControls.h"
#include "pane/skin/SkinButton.h"
#include "pane/win/HighContrastSetting.h"
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

ChildRect Scaled(const DisplayScale& scale, const ChildRect& rect) {
  return ChildRect{scale.Px(rect.left), scale.Px(rect.top), scale.Px(rect.right),
                   scale.Px(rect.bottom)};
}

}  // namespace

WinPaneView::WinPaneView(std::function<HWND()> paneWindow, PaneViewEvents events,
                         HostingContext hosting)
    : paneWindow_(std::move(paneWindow)),
      events_(std::move(events)),
      hosting_(std::move(hosting)),
      skinImages_([this] { return Skins(); }),
      highContrast_(HighContrastOn()) {}

WinPaneView::~WinPaneView() {
  ReleaseComponents();
  ReleaseWindows();
}

bool WinPaneView::CreateButton(int control, int childId, CSkinButton& button) {
  if (!IsButton(control)) return false;
  auto window = std::make_unique<WinSkinButtonWindow>(button, support_, LabelText(childId),
                                                      PaneButtonCaption(control));
  if (!window->Create(paneWindow_(), childId, Scaled(Scale(), button.rect()))) return false;
  buttons_[static_cast<size_t>(control)] = std::move(window);
  return true;
}

bool WinPaneView::CreateComboBox(int control, int childId, const ChildRect& rect,
                                 CSkinComboBox& combo) {
  if (!IsList(control)) return false;
  auto window = std::make_unique<WinComboWindow>(
      combo, support_,
      control == kPaneCtlModuleList ? IDS_ACC_MODULE_SELECTION : IDS_ACC_SPEED);
  if (!window->Create(paneWindow_(), childId, Scaled(Scale(), rect))) return false;
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
  const std::shared_ptr<const SkinSet> skins = Skins();
  const std::optional<BitmapSize> size = skins ? skins->BaseSize(resource) : std::nullopt;
  // The shared set holds the one background, at the size the pane gives it.
  backgroundLoaded_ = size && size->width == width && size->height == height;
  return backgroundLoaded_;
}

HBITMAP WinPaneView::Background() const {
  return backgroundLoaded_ && skinSet_ ? skinSet_->Bitmap(pane::kBackgroundBitmap) : nullptr;
}

const DisplayScale& WinPaneView::Scale() {
  static constexpr DisplayScale kBase;
  if (!scale_) {
    const HWND pane = paneWindow_();
    if (pane == nullptr) return kBase;  // asked again once there is a window
    scale_ = DisplayScale(WindowDpi(pane));
  }
  return *scale_;
}

std::shared_ptr<const SkinSet> WinPaneView::Skins() {
  if (!skinSet_) skinSet_ = SkinSet::ForScale(com::ModuleInstance(), Scale());
  return skinSet_;
}

void WinPaneView::DisplaySettingsChanged() {
  const bool highContrast = HighContrastOn();
  if (highContrast == highContrast_) return;
  highContrast_ = highContrast;
  if (HWND pane = paneWindow_()) {
    RedrawWindow(pane, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  }
}

HWND WinPaneView::ControlWindow(int control) const {
  if (control == kPaneCtlPanel) return panel_.Window();
  return PickWindow(control, [](const auto& child) { return child.Window(); });
}

HWND WinPaneView::TooltipWindow(int control) const {
  return PickWindow(control, [](const auto& child) { return child.TooltipWindow(); });
}

void WinPaneView::MoveControl(int control, int x, int y, int width, int height) {
  const DisplayScale& scale = Scale();
  const int left = scale.Px(x);
  const int top = scale.Px(y);
  const int right = scale.Px(x + width);
  const int bottom = scale.Px(y + height);
  if (control == kPaneCtlPanel) {
    panel_.Move(RECT{left, top, right, bottom});
    return;
  }
  if (HWND window = ControlWindow(control)) {
    MoveWindow(window, left, top, right - left, bottom - top, TRUE);
  }
}

void WinPaneView::ShowControl(int control, bool show) {
  if (HWND window = ControlWindow(control)) ShowWindow(window, show ? SW_SHOW : SW_HIDE);
}

void WinPaneView::EnableControl(int control, bool enable) {
  if (HWND window = ControlWindow(control)) EnableWindow(window, enable ? TRUE : FALSE);
}

void WinPaneView::ResizePane(int width, int height) {
  if (HWND pane = paneWindow_()) {
    SetWindowPos(pane, nullptr, 0, 0, Scale().Px(width), Scale().Px(height),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
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

bool WinPaneView::DrawItem(const DRAWITEMSTRUCT& item) {
  WinSkinButtonWindow* button = ButtonOf(item.hwndItem);
  if (button == nullptr) return false;
  const std::shared_ptr<const SkinSet> skins = highContrast_ ? Skins() : nullptr;
  button->Draw(item, highContrast_, skins ? skins->CaptionFont() : nullptr);
  return true;
}

bool WinPaneView::SelectionChanged(HWND child) {
  WinComboWindow* combo = ComboOf(child);
  if (combo != nullptr) combo->OnSelChange();
  return combo != nullptr;
}

void WinPaneView::ReleaseComponents() {
  voice_.reset();
  panel_.Destroy();
  backgroundLoaded_ = false;
  // The buttons' images keep the shared skins for as long as they need them.
  skinSet_.reset();
}

void WinPaneView::ReleaseWindows() {
  for (auto& button : buttons_) button.reset();
  for (auto& combo : combos_) combo.reset();
}

}  // namespace pel::win
