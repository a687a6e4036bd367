#include "trust/RefusalText.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace pel {

// Texts of the control's window for a refused page, printf-style like the string table's
// messages, where they belong; they live here until the table holds them. The key named is the
// first of the places the value is read from.
namespace {
constexpr const char* kRefusedWebPage =
    "The Pelioran control is not allowed on %s. To allow it, an administrator adds %s to "
    "AllowedSites under HKLM\\Software\\Policies\\Pelioran.";
constexpr const char* kRefusedOtherPage =
    "The Pelioran control is not allowed on %s. Of the entries of AllowedSites under "
    "HKLM\\Software\\Policies\\Pelioran, only any allows it.";
constexpr const char* kUnreadablePage = "this page (its address cannot be read)";

std::string Format(const char* format, const std::string& site) {
  std::vector<char> line(std::strlen(format) + 2 * site.size() + 1);
  std::snprintf(line.data(), line.size(), format, site.c_str(), site.c_str());
  return line.data();
}
}  // namespace

std::string RefusalLine(const PageSite& page) {
  const std::string site = DescribePageSite(page);
  if (page.kind == PageKind::Web) return Format(kRefusedWebPage, site);
  return Format(kRefusedOtherPage, site.empty() ? kUnreadablePage : site);
}

}  // namespace pel
