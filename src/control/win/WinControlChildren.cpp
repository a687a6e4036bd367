#include "control/win/WinControlChildren.h"

#include "control/PelioranCtrl.h"
#include "hosted/SimpleViewerDispids.h"
#include "hosted/win/ComponentIds.h"
// The DLL's assembly may include every room: it makes the pane's window as a child.
#include "pane/win/OperPaneWindow.h"
#include "pane/win/PaneChildSupport.h"
#include "res/StringTable.h"

namespace pel::win {

namespace {

int32_t Argument(const std::vector<Variant>& args, size_t index) {
  return index < args.size() ? args[index].AsInt() : 0;
}

}  // namespace

WinControlChildren::WinControlChildren(HWND parent, CPelioranCtrl& ctrl, IUserMessages& messages,
                                       HostingContext hosting)
    : parent_(parent), ctrl_(ctrl), messages_(messages), hosting_(std::move(hosting)) {}

WinControlChildren::~WinControlChildren() {
  // The viewer first: its events reach the control, whose pane pointer goes with the pane.
  viewer_.Destroy();
  ctrl_.AttachViewer(nullptr);
  ctrl_.AttachPane(nullptr);
  pane_.reset();
}

IOperPaneLink* WinControlChildren::CreatePane(const ChildRect& rect, int id) {
  pane_ = OperPaneWindow::Create(parent_, rect, id, &ctrl_, messages_, hosting_);
  return pane_ ? &pane_->Link() : nullptr;
}

void WinControlChildren::DisplaySettingsChanged() {
  if (pane_) pane_->DisplaySettingsChanged();
}

IDispatchPort* WinControlChildren::CreateViewer(const ChildRect& rect, int id) {
  const RECT area = {rect.left, rect.top, rect.right, rect.bottom};
  const HRESULT hr = viewer_.Create(
      kClsidSimpleViewer, parent_, area, id,
      [this](int32_t dispid, const std::vector<Variant>& args) { OnViewerEvent(dispid, args); },
      hosting_);
  if (FAILED(hr)) return nullptr;
  // The viewer area's name for accessibility clients, as its window's text.
  if (const HWND window = viewer_.Window()) {
    SetWindowTextW(window, AccessibleText(IDS_ACC_VIEWER).c_str());
  }
  return viewer_.Dispatch();
}

bool WinControlChildren::TranslatePaneKey(const MSG& msg) {
  return pane_ != nullptr && pane_->TranslateKey(msg);
}

bool WinControlChildren::FocusPane(bool last) { return pane_ != nullptr && pane_->FocusEdge(last); }

void WinControlChildren::OnViewerEvent(int32_t dispid, const std::vector<Variant>& args) {
  switch (dispid) {
    case viewer_dispid::kEventCameraSelected:
      ctrl_.OnViewerCameraSelected(Argument(args, 0));
      break;
    case viewer_dispid::kEventPictureWidth:
      ctrl_.OnViewerPictureWidth(static_cast<int16_t>(Argument(args, 0)), Argument(args, 1));
      break;
    default:
      break;  // the viewer's other events mean nothing to the control
  }
}

}  // namespace pel::win
