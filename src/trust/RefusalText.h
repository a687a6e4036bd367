#pragma once

#include <string>

#include "trust/PageSite.h"

namespace pel {

// The one line the control's window shows for a refused page: the page's site (scheme, host and
// port, never more of its address) and the setting that would allow it. A web page is named by
// the entry to add; anything else only `any` allows.
std::string RefusalLine(const PageSite& page);

}  // namespace pel
