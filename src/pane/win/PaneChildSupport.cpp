#include "pane/win/PaneChildSupport.h"

#include <oleacc.h>

#include "com/BStr.h"
#include "res/StringTable.h"

namespace pel::win {

std::wstring AccessibleText(int id) { return com::WideFromAnsi(LoadResString(id)); }

void NotifyStateChange(HWND window, long state, long& last) {
  constexpr long kFollowed = STATE_SYSTEM_PRESSED | STATE_SYSTEM_CHECKED |
                             STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_EXPANDED;
  if ((state & kFollowed) == (last & kFollowed)) return;
  last = state;
  NotifyWinEvent(EVENT_OBJECT_STATECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace pel::win
