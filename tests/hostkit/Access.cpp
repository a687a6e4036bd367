#include "Access.h"

#include <oleacc.h>

#include "ComRef.h"
#include "Numbers.h"
#include "Text.h"
#include "WindowFacts.h"

namespace hostkit {

namespace {

std::vector<std::string> g_events;

void CALLBACK OnWinEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD,
                         DWORD) {
  if (window == nullptr || object != OBJID_CLIENT || child != CHILDID_SELF) return;
  if (event != EVENT_OBJECT_FOCUS && event != EVENT_OBJECT_STATECHANGE) return;
  g_events.push_back(std::string("winevent\t") + (event == EVENT_OBJECT_FOCUS ? "focus" : "state") +
                     "\t" + std::to_string(GetDlgCtrlID(window)));
}

struct WinEventHook {  // out of context: the events come with the thread's messages
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_STATECHANGE, nullptr,
                                       OnWinEvent, GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  ~WinEventHook() { UnhookWinEvent(hook); }
};

// __uuidof: mingw-w64's uuid and oleacc libraries both define IID_IAccessible.
ComRef<IAccessible> ClientObject(HWND window, HRESULT* hr) {
  ComRef<IAccessible> object;
  *hr = AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                   object.PutVoid());
  return object;
}

VARIANT Self() { VARIANT self{}; self.vt = VT_I4; return self; }  // CHILDID_SELF

std::string Field(BSTR text) {
  std::string field = text ? Escaped(std::wstring_view(text, SysStringLen(text))) : "";
  SysFreeString(text);
  return field;
}

void Walk(HWND parent, std::vector<std::string>& lines) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    HRESULT hr = S_OK;
    ComRef<IAccessible> object = ClientObject(child, &hr);
    VARIANT self = Self(), role{}, state{};
    BSTR name = nullptr, action = nullptr;
    if (object) {
      object->get_accName(self, &name);
      object->get_accDefaultAction(self, &action);
      object->get_accRole(self, &role);
      object->get_accState(self, &state);
    }
    lines.push_back("acc\t" + std::to_string(GetDlgCtrlID(child)) + "\t" + Escaped(ClassOf(child)) +
                    "\t" + Field(name) + "\t" + Hex(static_cast<unsigned long>(role.lVal)) + "\t" +
                    Hex(static_cast<unsigned long>(state.lVal)) + "\t" + Field(action) +
                    (object ? "" : "\terror\t" + Hex(static_cast<unsigned long>(hr))));
    Walk(child, lines);
  }
}

}  // namespace

std::string PressKey(const std::string& text, HWND root, const std::function<void()>& pump) {
  const size_t plus = text.find('+');
  const std::string modifier = plus == std::string::npos ? "" : text.substr(plus + 1);
  int vk = 0;
  const HWND focus = GetFocus();
  const bool alt = modifier == "alt";
  if (!ParseInt(text.substr(0, plus), &vk) || vk <= 0 || vk > 0xFE || !focus ||
      (modifier != "" && modifier != "shift" && !alt)) {
    return "error\tkey " + text + "\tno such key or no focus";
  }
  // Posted keys do not move the keyboard state: Shift is set there while they are handled.
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  const BYTE shift = keys[VK_SHIFT];
  keys[VK_SHIFT] = modifier == "shift" ? 0x80 : 0;
  SetKeyboardState(keys);
  const LPARAM context = alt ? (LPARAM{1} << 29) : 0;  // Alt held: the system keys
  PostMessageW(focus, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, static_cast<WPARAM>(vk), 1 | context);
  PostMessageW(focus, alt ? WM_SYSKEYUP : WM_KEYUP, static_cast<WPARAM>(vk), 0xC0000001u | context);
  pump();
  keys[VK_SHIFT] = shift;
  SetKeyboardState(keys);
  const HWND now = GetFocus();
  const bool inside = now && (now == root || IsChild(root, now));
  return "key\t" + text + "\t" + std::to_string(now ? GetDlgCtrlID(now) : 0) + "\t" +
         (inside ? "inside" : "outside");
}

std::vector<std::string> AccessibleLines(HWND root) {
  static WinEventHook hook;
  std::vector<std::string> lines;
  Walk(root, lines);
  lines.insert(lines.end(), g_events.begin(), g_events.end());
  g_events.clear();
  return lines;
}

HRESULT DoDefaultAction(HWND window) {
  HRESULT hr = S_OK;
  ComRef<IAccessible> object = ClientObject(window, &hr);
  return object ? object->accDoDefaultAction(Self()) : hr;
}

}  // namespace hostkit
