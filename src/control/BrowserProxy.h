#pragma once

#include <cstddef>
#include <string>

#include "ports/BrowserProxySetting.h"

namespace pel {

// Size of the area that holds the browser's proxy setting, terminating NUL included.
constexpr std::size_t kBrowserProxyAreaSize = 128;
// The same for the browser's proxy exceptions: corporate lists run far longer than a proxy
// address.
constexpr std::size_t kProxyOverrideAreaSize = 2048;

// The browser's proxy setting ("ProxyServer") when the browser uses a proxy ("ProxyEnable" is
// the number 1). A setting that does not fit into `areaSize` bytes with its terminating NUL,
// or is not text, is refused. 1 with the text (up to its first NUL) in `text`, else 0 and
// `text` empty.
int ReadBrowserProxy(IBrowserProxySetting& setting, std::string& text, std::size_t areaSize);

// The browser's proxy exceptions ("ProxyOverride"), with the same checks as its proxy setting:
// text that fits into `areaSize` bytes with its NUL. 1 with the text, else 0 and `text` empty.
int ReadProxyOverride(IBrowserProxySetting& setting, std::string& text, std::size_t areaSize);

}  // namespace pel
