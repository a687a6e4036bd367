#include "pane/win/OperPaneWindow.h"

#include "pane/PaneDialogLink.h"
#include "control/PelioranCtrl.h"
#include "com/Module.h"
#include "hosted/SimpleViewer.h"
#include "pane/PelioranOperPane.h"
#include "pane/win/PaneKeyboard.h"
#include "pane/win/PanePainter.h"
#include "pane/win/WinPaneView.h"
#include "pane/win/WinSnapshotSystem.h"
#include "pane/win/dialogs/WinPaneDialogs.h"
#include "res/StringTable.h"

namespace pel::win {

namespace {

constexpr const wchar_t* kClassName = L"PelioranOperPane";

bool RegisterPaneClass(WNDPROC procedure) {
  WNDCLASSEXW existing = {};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(com::ModuleInstance(), kClassName, &existing)) return true;
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = procedure;
  wc.hInstance = com::ModuleInstance();
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  wc.lpszClassName = kClassName;
  return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

// Everything the pane's window works with, in the order it is made: the dialogs and the view
// before the pane that uses them.
struct OperPaneWindow::Parts {
  Parts(OperPaneWindow& owner, CPelioranCtrl* ctrl, IUserMessages& messages,
        const HostingContext& hosting)
      : dialogLink(pane, ctrl != nullptr ? ctrl->viewer() : inertViewer),
        dialogs([window = &owner] { return window->Window(); }, messages, dialogLink),
        view([window = &owner] { return window->Window(); },
             PaneViewEvents{[this](int cx, int cy) { pane.OnPanelSizeChanged(cx, cy); },
                            [this](int32_t code, int32_t detail) {
                              pane.OnVoiceStatus(code, detail);
                            }},
             hosting),
        keyboard(view, [window = &owner] { return window->Window(); }, hosting.controlSite),
        pane(PanePorts{view, dialogs, messages, system}, ctrl) {
    view.SetChildSupport(
        PaneChildSupport{[this](const MSG& msg) { return keyboard.Translate(msg); },
                         [this] { return keyboard.CuesShown(); }});
  }

  WinSnapshotSystem system;
  CSimpleViewer inertViewer;  // the viewer of a pane without a control
  PaneDialogLink dialogLink;
  WinPaneDialogs dialogs;
  WinPaneView view;
  PaneKeyboard keyboard;
  CPelioranOperPane pane;
};

OperPaneWindow::OperPaneWindow(CPelioranCtrl* ctrl, IUserMessages& messages,
                               const HostingContext& hosting)
    : parts_(std::make_unique<Parts>(*this, ctrl, messages, hosting)) {}

std::unique_ptr<OperPaneWindow> OperPaneWindow::Create(HWND parent, const ChildRect& rect,
                                                       int id, CPelioranCtrl* ctrl,
                                                       IUserMessages& messages,
                                                       const HostingContext& hosting) {
  std::unique_ptr<OperPaneWindow> pane(new OperPaneWindow(ctrl, messages, hosting));
  // The class goes when the last pane of the process does; one may go between the two calls.
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (!RegisterPaneClass(&OperPaneWindow::WindowProc)) return nullptr;
    // Its text names it for accessibility clients.
    const std::wstring name = AccessibleText(IDS_ACC_PANE);
    const HWND window = CreateWindowExW(
        0, kClassName, name.c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rect.left, rect.top,
        rect.right - rect.left, rect.bottom - rect.top, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), com::ModuleInstance(), pane.get());
    if (window != nullptr) return pane;
    if (GetLastError() != ERROR_CANNOT_FIND_WND_CLASS) break;
  }
  return nullptr;
}

OperPaneWindow::~OperPaneWindow() {
  if (window_ != nullptr) DestroyWindow(window_);
  parts_.reset();
  // Fails while another pane of the process still uses the class; its last one unregisters.
  UnregisterClassW(kClassName, com::ModuleInstance());
}

CPelioranOperPane& OperPaneWindow::Pane() { return parts_->pane; }

IOperPaneLink& OperPaneWindow::Link() { return parts_->pane; }

HWND OperPaneWindow::Window() const { return window_; }

bool OperPaneWindow::TranslateKey(const MSG& msg) {
  if (window_ == nullptr || (msg.hwnd != window_ && !IsChild(window_, msg.hwnd))) return false;
  return parts_->keyboard.Translate(msg);
}

bool OperPaneWindow::FocusEdge(bool last) { return parts_->keyboard.FocusEdge(last); }

LRESULT CALLBACK OperPaneWindow::WindowProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self =
        static_cast<OperPaneWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<OperPaneWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr || self->window_ != window) {
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return self->Handle(message, wParam, lParam);
}

LRESULT OperPaneWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  Parts& parts = *parts_;
  switch (message) {
    case WM_CREATE:
      return parts.pane.OnCreate() ? 0 : -1;
    case WM_DESTROY:
      parts.pane.OnDestroy();
      parts.view.ReleaseComponents();
      return 0;
    case WM_NCDESTROY: {
      // The children are gone by now.
      parts.view.ReleaseWindows();
      const HWND window = window_;
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      window_ = nullptr;
      return DefWindowProcW(window, message, wParam, lParam);
    }
    case WM_ERASEBKGND:
      return 1;  // the background bitmap covers the pane
    case WM_SETFOCUS:
      // The pane itself takes no keys: its first control does.
      parts.keyboard.FocusEdge(false);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      const HDC dc = BeginPaint(window_, &ps);
      if (dc != nullptr) Paint(dc);
      EndPaint(window_, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
      parts.view.DisplaySettingsChanged();
      break;
    case WM_DRAWITEM:
      if (parts.view.DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
      break;
    case WM_COMMAND:
      if (HIWORD(wParam) == CBN_SELCHANGE &&
          parts.view.SelectionChanged(reinterpret_cast<HWND>(lParam))) {
        return 0;
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

void OperPaneWindow::Paint(HDC dc) {
  PaintPane(dc, parts_->view.Skins().get(), parts_->pane.Painting(),
            parts_->view.HighContrast());
}

void OperPaneWindow::DisplaySettingsChanged() { parts_->view.DisplaySettingsChanged(); }

}  // namespace pel::win
