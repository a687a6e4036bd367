#include "trust/RefusalText.h"

#include "res/StringTable.h"

namespace pel {

namespace {
// The texts (string table) name the first of the keys the value is read from.
constexpr const char* kUnreadablePage = "this page (its address cannot be read)";
}  // namespace

std::string RefusalLine(const PageSite& page) {
  const std::string site = DescribePageSite(page);
  if (page.kind == PageKind::Web) {
    return FormatResString(IDS_SITE_REFUSED_WEB, site.c_str(), site.c_str());
  }
  return FormatResString(IDS_SITE_REFUSED_OTHER, site.empty() ? kUnreadablePage : site.c_str());
}

}  // namespace pel
