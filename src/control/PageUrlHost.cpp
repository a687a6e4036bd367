#include "control/PageUrlHost.h"

#include <string_view>

#include "control/ServerUrl.h"

namespace pel {

int GetHostFromPageUrl(IHostBrowser* browser, std::string& host, std::size_t maxChars,
                       bool* overTls) {
  host.clear();
  if (overTls != nullptr) *overTls = false;
  if (browser == nullptr) return 0;
  const std::u16string url = browser->LocationURL();

  std::string text;
  for (std::size_t i = 0; i < url.size() && i < kPageUrlChars; ++i) {
    const char c = static_cast<char>(url[i] & 0xFF);
    if (c == '\0') break;
    text.push_back(c);
  }
  const SchemeSplit split = SplitScheme(text);
  if (!split.scheme || (split.tls && overTls == nullptr)) return 0;
  if (overTls != nullptr) *overTls = split.tls;

  const std::string_view rest = split.rest.substr(0, split.rest.find('/'));
  host.assign(rest.substr(0, maxChars));
  return 1;
}

}  // namespace pel
