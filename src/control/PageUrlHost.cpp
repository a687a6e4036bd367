#include "control/PageUrlHost.h"

#include <string_view>

namespace pel {

namespace {
constexpr std::string_view kHttpPrefix = "http://";
}  // namespace

int GetHostFromPageUrl(IHostBrowser* browser, std::string& host, std::size_t maxChars) {
  host.clear();
  if (browser == nullptr) return 0;
  const std::u16string url = browser->LocationURL();

  std::string text;
  for (std::size_t i = 0; i < url.size() && i < kPageUrlChars; ++i) {
    const char c = static_cast<char>(url[i] & 0xFF);
    if (c == '\0') break;
    text.push_back(c);
  }
  if (text.compare(0, kHttpPrefix.size(), kHttpPrefix) != 0) return 0;

  std::string_view rest(text);
  rest.remove_prefix(kHttpPrefix.size());
  rest = rest.substr(0, rest.find('/'));
  host.assign(rest.substr(0, maxChars));
  return 1;
}

}  // namespace pel
