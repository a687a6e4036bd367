#include "ControlActions.h"

#include <utility>

#include "Access.h"
#include "ComRef.h"
#include "DialogRecorder.h"
#include "Frame.h"
#include "Numbers.h"
#include "Report.h"
#include "Text.h"
#include "WindowFacts.h"

namespace {

// A button press and release where a user would click; posted, as input arrives.
void PostClick(HWND target, POINT at) {
  LPARAM where = MAKELPARAM(at.x, at.y);
  PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, where);
  PostMessageW(target, WM_LBUTTONUP, 0, where);
}

}  // namespace

ControlActions::ControlActions(HWND control, hostkit::ComRef<IDispatch> dispatch,
                               hostkit::Report& report, hostkit::DialogRecorder& boxes)
    : control_(control), dispatch_(std::move(dispatch)), report_(report), boxes_(boxes) {}

void ControlActions::Run(const Action& action) {
  switch (action.kind) {
    case Action::kWait: Wait(action.argument); break;
    case Action::kWindows:
      report_.Line("windows");
      // From ATL's window down: the control's own window is depth 0.
      ListWindows(GetParent(control_), 0);
      break;
    case Action::kResize: Resize(action.argument); break;
    case Action::kClick: Click(action.argument); break;
    case Action::kClickAt: ClickAt(action.argument); break;
    case Action::kSelect: Select(action.argument); break;
    case Action::kGet: Get(action.argument); break;
    // As typed: ATL does not pre-translate keys, so they reach the focused window as posted.
    case Action::kKey:
      report_.Line(hostkit::PressKey(action.argument, control_, [] { PumpMessages(50); }));
      break;
    case Action::kAcc:
      report_.Line("acc-walk");
      for (const std::string& line : hostkit::AccessibleLines(control_)) report_.Line(line);
      break;
    case Action::kAccDo: AccessibleDo(action.argument); break;
  }
  for (const std::string& line : boxes_.Take()) report_.Line(line);
}

void ControlActions::Error(const std::string& what, const std::string& detail) {
  report_.Line("error\t" + what + "\t" + detail);
}

void ControlActions::ListWindows(HWND parent, int depth) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (depth == 0 && child != control_) continue;
    bool visible = (GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE) != 0;
    report_.Line("window\t" + std::to_string(depth) + "\t" +
                 hostkit::Escaped(hostkit::ClassOf(child)) + "\t" +
                 std::to_string(GetDlgCtrlID(child)) + "\t" + hostkit::PlaceIn(child, parent) +
                 "\t" + (visible ? "1" : "0"));
    ListWindows(child, depth + 1);
  }
}

// ATL's window takes the new size (WM_SIZE), and ATL hands it to the control: SetExtent and,
// once in place, IOleInPlaceObject::SetObjectRects.
void ControlActions::Wait(const std::string& ms) {
  int wait = 0;
  if (!hostkit::ParseInt(ms, &wait) || wait < 0) return Error("wait", ms);
  PumpMessages(static_cast<DWORD>(wait));
}

void ControlActions::Resize(const std::string& size) {
  int width = 0, height = 0;
  if (!hostkit::ParseIntPair(size, 'x', &width, &height)) return Error("resize", size);
  SetWindowPos(GetParent(control_), nullptr, 0, 0, width, height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  report_.Line("resize\t" + size);
}

void ControlActions::Click(const std::string& id) {
  int number = 0;
  HWND target = hostkit::ParseInt(id, &number) ? hostkit::Descendant(control_, number) : nullptr;
  if (!target) return Error("click " + id, "no such window");
  RECT r;
  GetClientRect(target, &r);
  PostClick(target, POINT{r.right / 2, r.bottom / 2});
  report_.Line("click\t" + id);
}

void ControlActions::ClickAt(const std::string& where) {
  int x = 0, y = 0;
  if (!hostkit::ParseIntPair(where, ',', &x, &y)) return Error("click-at", where);
  POINT at{x, y};
  // The deepest visible window under the point takes the click.
  HWND target = control_;
  for (;;) {
    HWND child = ChildWindowFromPointEx(target, at, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    if (!child || child == target) break;
    MapWindowPoints(target, child, &at, 1);
    target = child;
  }
  PostClick(target, at);
  report_.Line("click-at\t" + where + "\t" + std::to_string(GetDlgCtrlID(target)));
}

void ControlActions::Select(const std::string& what) {
  int id = 0, index = 0;
  if (!hostkit::ParseIntPair(what, ':', &id, &index)) return Error("select", what);
  HWND combo = hostkit::Descendant(control_, id);
  if (!combo || SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0) == CB_ERR) {
    return Error("select " + what, "no such combo box entry");
  }
  SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
  report_.Line("select\t" + what);
}

void ControlActions::Get(const std::string& name) {
  if (!dispatch_) return Error("get " + name, "no IDispatch");
  std::wstring wide(name.begin(), name.end());
  LPOLESTR names[] = {wide.data()};
  DISPID id = DISPID_UNKNOWN;
  HRESULT hr = dispatch_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  VARIANT value;
  VariantInit(&value);
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  if (SUCCEEDED(hr)) {
    hr = dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &value,
                           nullptr, nullptr);
  }
  if (SUCCEEDED(hr)) hr = VariantChangeType(&value, &value, 0, VT_BSTR);
  if (FAILED(hr)) {
    VariantClear(&value);
    return Error("get " + name, hostkit::Hex(static_cast<unsigned long>(hr)));
  }
  report_.Line("get\t" + name + "\t" + hostkit::Escaped(V_BSTR(&value) ? V_BSTR(&value) : L""));
  VariantClear(&value);
}

void ControlActions::AccessibleDo(const std::string& id) {
  int number = 0;
  HWND target = hostkit::ParseInt(id, &number) ? hostkit::Descendant(control_, number) : nullptr;
  if (!target) return Error("acc-do " + id, "no such window");
  report_.Line("acc-do\t" + id + "\t" +
               hostkit::Hex(static_cast<unsigned long>(hostkit::DoDefaultAction(target))));
}
