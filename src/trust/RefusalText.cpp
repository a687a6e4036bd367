#include "trust/RefusalText.h"

namespace pel {

// Texts of the control's window for a refused page. They belong with the string table's
// messages; they live here until the table holds them.
namespace {
constexpr const char* kRefusedPrefix = "The Pelioran control is not allowed on ";
constexpr const char* kUnreadableSite = "this page (its address cannot be read)";
}  // namespace

std::string RefusalLine(const PageSite& page) {
  const std::string site = DescribePageSite(page);
  std::string line = kRefusedPrefix + (site.empty() ? std::string(kUnreadableSite) : site) + ". ";
  const std::string setting = std::string(kAllowedSitesValue) + " under " + kPolicyKeyText;
  if (page.kind == PageKind::Web) {
    line += "To allow it, an administrator adds " + site + " to " + setting + ".";
  } else {
    line += "Of the entries of " + setting + ", only any allows it.";
  }
  return line;
}

}  // namespace pel
