#include "ControlHost.h"

#include <objsafe.h>

#include <cstdio>
#include <fstream>
#include <string_view>
#include <vector>

#include "Access.h"
#include "Numbers.h"
#include "ParamBag.h"
#include "Report.h"
#include "Text.h"
#include "WindowInfo.h"
#include "com/BStr.h"
#include "com/ComVariant.h"
#include "comtext/BmpFile.h"
#include "comtext/VariantText.h"

namespace pel::host {

namespace {

constexpr const wchar_t* kHostClass = L"PelHostWindow";

LRESULT CALLBACK HostWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

// An action's number, checked when the command line was read.
int Number(const std::string& text) {
  int value = 0;
  hostkit::ParseInt(text, &value);
  return value;
}

HWND FindChildById(HWND parent, int id) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (GetDlgCtrlID(child) == id) return child;
    if (HWND found = FindChildById(child, id)) return found;
  }
  return nullptr;
}

// "TITLE:NUMBER", split at the last colon.
bool SplitTitled(const std::string& text, std::string& title, int& number) {
  const size_t colon = text.rfind(':');
  if (colon == std::string::npos || colon + 1 >= text.size()) return false;
  title = text.substr(0, colon);
  return hostkit::ParseInt(std::string_view(text).substr(colon + 1), &number);
}

struct DialogSearch {
  const std::string& title;
  HWND found;
};

BOOL CALLBACK MatchDialog(HWND hwnd, LPARAM lp) {
  auto* search = reinterpret_cast<DialogSearch*>(lp);
  if (ClassName(hwnd) == "#32770" && WindowText(hwnd) == search->title) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK CollectDialog(HWND hwnd, LPARAM lp) {
  if (ClassName(hwnd) == "#32770" && IsWindowVisible(hwnd)) {
    reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
  }
  return TRUE;
}

// A dialog of this thread with exactly this caption.
HWND FindDialog(const std::string& title) {
  DialogSearch search{title, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), MatchDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void WalkWindows(hostkit::Report& report, HWND hwnd, int depth) {
  RECT r;
  GetWindowRect(hwnd, &r);
  // A child's place is in its parent's client area, a dialog's on the screen.
  HWND parent = (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD) != 0 ? GetParent(hwnd) : nullptr;
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  char place[64];
  std::snprintf(place, sizeof(place), "%ld,%ld,%ld,%ld", r.left, r.top, r.right - r.left,
                r.bottom - r.top);
  report.Line("window\t" + std::to_string(depth) + "\t" + ClassName(hwnd) + "\t" +
              std::to_string(GetDlgCtrlID(hwnd)) + "\t" + place + "\t" +
              (IsWindowVisible(hwnd) ? "1" : "0") + "\t" + (IsWindowEnabled(hwnd) ? "1" : "0") +
              "\t" + WindowText(hwnd));
  for (HWND c = GetWindow(hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    WalkWindows(report, c, depth + 1);
  }
}

SIZEL PixelsToHimetric(int cx, int cy) {
  HDC screen = GetDC(nullptr);
  const int dpi_x = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
  const int dpi_y = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  return {MulDiv(cx, 2540, dpi_x), MulDiv(cy, 2540, dpi_y)};
}

}  // namespace

ControlHost::~ControlHost() {
  if (events_) events_->Unadvise(eventCookie_);
  events_.Reset();
  if (control_) {
    control_->Close(OLECLOSE_NOSAVE);
    control_->SetClientSite(nullptr);
    control_.Reset();
  }
  site_.Reset();
  if (window_ && IsWindow(window_)) DestroyWindow(window_);
  // The control's DLL stays loaded until the process ends.
}

HRESULT ControlHost::CreateControl() {
  const std::wstring name = com::WideFromAnsi(options_.control);
  CLSID clsid;
  HRESULT hr = name[0] == L'{' ? CLSIDFromString(name.c_str(), &clsid)
                               : CLSIDFromProgID(name.c_str(), &clsid);
  if (FAILED(hr)) return hr;
  if (options_.dll.empty()) {
    return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                            control_.PutVoid());
  }
  dll_ = LoadLibraryW(com::WideFromAnsi(options_.dll).c_str());
  if (!dll_) return HRESULT_FROM_WIN32(GetLastError());
  using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  auto get = reinterpret_cast<GetClassObject>(
      reinterpret_cast<void*>(GetProcAddress(dll_, "DllGetClassObject")));
  if (!get) return HRESULT_FROM_WIN32(GetLastError());
  com::ComPtr<IClassFactory> factory;
  hr = get(clsid, IID_IClassFactory, factory.PutVoid());
  if (FAILED(hr)) return hr;
  return factory->CreateInstance(nullptr, IID_IOleObject, control_.PutVoid());
}

bool ControlHost::Start() {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = HostWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
  wc.lpszClassName = kHostClass;
  RegisterClassExW(&wc);
  RECT frame = {0, 0, options_.x + options_.width, options_.y + options_.height};
  AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
  window_ = CreateWindowExW(0, kHostClass, L"pelhost", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                            0, 0, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                            nullptr, wc.hInstance, nullptr);
  if (!window_) {
    report_.Line("error\twindow\t" + hostkit::Hex(HRESULT_FROM_WIN32(GetLastError())));
    return false;
  }
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);

  HRESULT hr = CreateControl();
  if (FAILED(hr)) {
    report_.Line("error\tcreate\t" + hostkit::Hex(hr));
    return false;
  }
  const RECT pos = {options_.x, options_.y, options_.x + options_.width,
                    options_.y + options_.height};
  site_ = com::MakeComObject<HostSite>(window_, pos, com::WideFromAnsi(options_.url));
  if (!site_) return false;
  control_->SetClientSite(site_.Get());

  // A browser asks whether the control is safe to initialise before it loads the <param> tags,
  // and safe to script once they are loaded.
  const DWORD safe = INTERFACESAFE_FOR_UNTRUSTED_CALLER | INTERFACESAFE_FOR_UNTRUSTED_DATA;
  com::ComPtr<IObjectSafety> safety;
  if (!options_.url.empty() && SUCCEEDED(control_.As(IID_IObjectSafety, safety))) {
    hr = safety->SetInterfaceSafetyOptions(IID_IPersistPropertyBag, safe, safe);
    report_.Line("safety\tinit\t" + hostkit::Hex(hr));
  }
  // Like a page: the <param> tags through the property bag, else a fresh state.
  com::ComPtr<IPersistPropertyBag> bag_persist;
  com::ComPtr<IPersistStreamInit> stream_persist;
  if (SUCCEEDED(control_.As(IID_IPersistPropertyBag, bag_persist))) {
    auto bag = com::MakeComObject<ParamBag>(options_.params);
    hr = bag ? bag_persist->Load(bag.Get(), nullptr) : E_OUTOFMEMORY;
    report_.Line("load\tpropertybag\t" + hostkit::Hex(hr));
  } else if (SUCCEEDED(control_.As(IID_IPersistStreamInit, stream_persist))) {
    hr = stream_persist->InitNew();
    report_.Line("load\tinitnew\t" + hostkit::Hex(hr));
  }
  if (safety) {
    report_.Line("safety\tscript\t" +
                 hostkit::Hex(safety->SetInterfaceSafetyOptions(IID_IDispatch, safe, safe)));
  }
  SIZEL extent = PixelsToHimetric(options_.width, options_.height);
  control_->SetExtent(DVASPECT_CONTENT, &extent);

  com::ComPtr<IProvideClassInfo2> info;
  com::ComPtr<IConnectionPointContainer> points;
  IID event_iid;
  if (SUCCEEDED(control_.As(IID_IProvideClassInfo2, info)) &&
      SUCCEEDED(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &event_iid)) &&
      SUCCEEDED(control_.As(IID_IConnectionPointContainer, points)) &&
      SUCCEEDED(points->FindConnectionPoint(event_iid, events_.Put()))) {
    auto sink = com::MakeComObject<EventSink>(event_iid, report_);
    if (!sink || FAILED(events_->Advise(static_cast<IDispatch*>(sink.Get()), &eventCookie_))) {
      events_.Reset();
    }
  }

  hr = control_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.Get(), 0, window_, &pos);
  report_.Line("activate\t" + hostkit::Hex(hr));
  if (FAILED(hr)) return false;
  Pump();
  return true;
}

HWND ControlHost::ControlWindow() const {
  com::ComPtr<IOleInPlaceObject> in_place;
  HWND hwnd = nullptr;
  if (control_ && SUCCEEDED(control_.As(IID_IOleInPlaceObject, in_place))) {
    in_place->GetWindow(&hwnd);
  }
  return hwnd;
}

void ControlHost::Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      closed_ = true;
      continue;
    }
    if (DialogKey(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

bool ControlHost::DialogKey(MSG& msg) {
  // As a container does: keys go to the in-place active object first (its modeless dialogs
  // take theirs there).
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST || !control_) return false;
  com::ComPtr<IOleInPlaceActiveObject> active;
  return SUCCEEDED(control_.As(IID_IOleInPlaceActiveObject, active)) &&
         active->TranslateAccelerator(&msg) == S_OK;
}

void ControlHost::Wait(int milliseconds) {
  const DWORD start = GetTickCount();
  for (;;) {
    Pump();
    const DWORD spent = GetTickCount() - start;
    if (closed_ || spent >= static_cast<DWORD>(milliseconds)) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(milliseconds) - spent,
                              QS_ALLINPUT);
  }
}

void ControlHost::RunActions() {
  for (const HostAction& action : options_.actions) {
    if (closed_) return;
    switch (action.kind) {
      case HostAction::kWait: Wait(Number(action.argument)); break;
      case HostAction::kGet: Get(action.argument); break;
      case HostAction::kPut: Put(action.argument); break;
      case HostAction::kCall: Call(action.argument); break;
      case HostAction::kVerb: Verb(action.argument); break;
      case HostAction::kClick: ClickId(action.argument); break;
      case HostAction::kClickAt: ClickAt(action.argument); break;
      case HostAction::kWindows: ListWindows(); break;
      case HostAction::kShot: Shot(action.argument); break;
      case HostAction::kDialogs: ListDialogs(); break;
      case HostAction::kDialogClick: DialogClick(action.argument); break;
      case HostAction::kKey: Key(action.argument); break;
      case HostAction::kSelect: Select(action.argument); break;
      case HostAction::kHover: Hover(action.argument); break;
      case HostAction::kCheck: Check(action.argument); break;
      // As typed: the loop hands the key to the control's TranslateAccelerator first.
      case HostAction::kPress:
        report_.Line(hostkit::PressKey(action.argument, ControlWindow(), [this] { Pump(); }));
        break;
    }
    Pump();
  }
}

void ControlHost::RunUntilClosed() {
  MSG msg;
  while (!closed_ && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (DialogKey(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  closed_ = true;
}

HRESULT ControlHost::Dispatch(const std::string& name, WORD flags, DISPPARAMS& params,
                              VARIANT* result) {
  com::ComPtr<IDispatch> dispatch;
  HRESULT hr = control_.As(IID_IDispatch, dispatch);
  if (FAILED(hr)) return hr;
  std::wstring wide = com::WideFromAnsi(name);
  LPOLESTR names[1] = {wide.data()};
  DISPID id = DISPID_UNKNOWN;
  hr = dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) return hr;
  return dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, nullptr,
                          nullptr);
}

void ControlHost::Get(const std::string& name) {
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  com::ComVariant value;
  const HRESULT hr = Dispatch(name, DISPATCH_PROPERTYGET, none, value.Get());
  report_.Line(SUCCEEDED(hr) ? "get\t" + name + "\t" + com::VariantText(*value.Get())
                             : "error\tget " + name + "\t" + hostkit::Hex(hr));
}

void ControlHost::Put(const std::string& assignment) {
  const size_t eq = assignment.find('=');
  const std::string name = assignment.substr(0, eq);
  com::ComVariant value;
  V_VT(value.Get()) = VT_BSTR;
  V_BSTR(value.Get()) = com::BStr::FromAnsi(assignment.substr(eq + 1)).Detach();
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params = {value.Get(), &named, 1, 1};
  const HRESULT hr = Dispatch(name, DISPATCH_PROPERTYPUT, params, nullptr);
  report_.Line("put\t" + name + "\t" + hostkit::Hex(hr));
}

void ControlHost::Call(const std::string& name) {
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  com::ComVariant result;
  const HRESULT hr = Dispatch(name, DISPATCH_METHOD, none, result.Get());
  report_.Line("call\t" + name + "\t" + hostkit::Hex(hr) + "\t" + com::VariantText(*result.Get()));
}

void ControlHost::Verb(const std::string& verb) {
  const RECT pos = site_->Pos();
  const HRESULT hr =
      control_->DoVerb(Number(verb), nullptr, site_.Get(), 0, window_, &pos);
  report_.Line("verb\t" + verb + "\t" + hostkit::Hex(hr));
}

void ControlHost::Click(HWND target, POINT at) {
  const LPARAM where = MAKELPARAM(at.x, at.y);
  PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, where);
  PostMessageW(target, WM_LBUTTONUP, 0, where);
  Pump();
}

void ControlHost::ClickId(const std::string& id) {
  HWND root = ControlWindow();
  HWND target = root ? FindChildById(root, Number(id)) : nullptr;
  if (!target) {
    report_.Line("error\tclick " + id + "\tno such window");
    return;
  }
  RECT r;
  GetClientRect(target, &r);
  Click(target, POINT{r.right / 2, r.bottom / 2});
  report_.Line("click\t" + id);
}

void ControlHost::ClickAt(const std::string& where) {
  int x = 0;
  int y = 0;
  HWND root = ControlWindow();
  if (!root || !hostkit::ParseIntPair(where, ',', &x, &y)) {
    report_.Line("error\tclick-at " + where + "\tno control window");
    return;
  }
  // The deepest visible child under the point takes the click.
  HWND target = root;
  POINT local = {x, y};
  for (;;) {
    HWND child = ChildWindowFromPointEx(target, local, CWP_SKIPINVISIBLE);
    if (!child || child == target) break;
    MapWindowPoints(target, child, &local, 1);
    target = child;
  }
  Click(target, local);
  report_.Line("click-at\t" + where);
}

void ControlHost::ListWindows() {
  if (HWND root = ControlWindow()) {
    WalkWindows(report_, root, 0);
  } else {
    report_.Line("error\twindows\tno control window");
  }
}

void ControlHost::ListDialogs() {
  std::vector<HWND> dialogs;
  EnumThreadWindows(GetCurrentThreadId(), CollectDialog, reinterpret_cast<LPARAM>(&dialogs));
  report_.Line("dialogs\t" + std::to_string(dialogs.size()));
  for (HWND dialog : dialogs) WalkWindows(report_, dialog, 0);
}

void ControlHost::DialogClick(const std::string& where) {
  std::string title;
  int id = 0;
  HWND dialog = SplitTitled(where, title, id) ? FindDialog(title) : nullptr;
  HWND item = dialog ? GetDlgItem(dialog, id) : nullptr;
  if (!item) {
    report_.Line("error\tdialog-click " + where + "\tno such window");
    return;
  }
  if (ClassName(item) == "Button") {
    PostMessageW(item, BM_CLICK, 0, 0);
    Pump();
  } else {
    RECT r;
    GetClientRect(item, &r);
    Click(item, POINT{r.right / 2, r.bottom / 2});
  }
  report_.Line("dialog-click\t" + where);
}

void ControlHost::Key(const std::string& where) {
  std::string title;
  int key = 0;
  HWND dialog = SplitTitled(where, title, key) ? FindDialog(title) : nullptr;
  if (!dialog) {
    report_.Line("error\tkey " + where + "\tno such dialog");
    return;
  }
  HWND focus = GetFocus();
  HWND target = focus && IsChild(dialog, focus) ? focus : dialog;
  PostMessageW(target, WM_KEYDOWN, static_cast<WPARAM>(key), 1);
  PostMessageW(target, WM_KEYUP, static_cast<WPARAM>(key), static_cast<LPARAM>(0xC0000001u));
  Pump();
  report_.Line("key\t" + where);
}

void ControlHost::Select(const std::string& where) {
  int id = 0;
  int index = 0;
  HWND root = ControlWindow();
  HWND combo = root && hostkit::ParseIntPair(where, ':', &id, &index)
                   ? FindChildById(root, id)
                   : nullptr;
  if (!combo || SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0) == CB_ERR) {
    report_.Line("error\tselect " + where + "\tno such entry");
    return;
  }
  // What the list sends its parent when the user picks an entry.
  SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
  Pump();
  report_.Line("select\t" + where);
}

void ControlHost::Hover(const std::string& id) {
  HWND root = ControlWindow();
  HWND target = root ? FindChildById(root, Number(id)) : nullptr;
  if (!target) {
    report_.Line("error\thover " + id + "\tno such window");
    return;
  }
  RECT r;
  GetClientRect(target, &r);
  POINT centre = {r.right / 2, r.bottom / 2};
  POINT screen = centre;
  ClientToScreen(target, &screen);
  SetCursorPos(screen.x, screen.y);
  PostMessageW(target, WM_MOUSEMOVE, 0, MAKELPARAM(centre.x, centre.y));
  Pump();
  report_.Line("hover\t" + id);
}

void ControlHost::Check(const std::string& where) {
  std::string title;
  int id = 0;
  HWND dialog = SplitTitled(where, title, id) ? FindDialog(title) : nullptr;
  if (!dialog || !GetDlgItem(dialog, id)) {
    report_.Line("error\tcheck " + where + "\tno such window");
    return;
  }
  report_.Line("check\t" + where + "\t" + std::to_string(IsDlgButtonChecked(dialog, id)));
}

void ControlHost::Shot(const std::string& path) {
  RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pump();
  RECT client;
  GetClientRect(window_, &client);
  HDC dc = GetDC(window_);
  const std::vector<uint8_t> file = com::CaptureBmpFile(dc, 0, 0, client.right, client.bottom);
  ReleaseDC(window_, dc);
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  report_.Line(!file.empty() && out.good() ? "shot\t" + path : "error\tshot\t" + path);
}

}  // namespace pel::host
