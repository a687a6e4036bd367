#include "control/BrowserProxy.h"

#include <algorithm>
#include <cstdint>

namespace pel {

namespace {
using Value = IBrowserProxySetting::Value;

// A DWORD (or, as some tools write it, up to four binary bytes), little-endian, holding 1.
bool IsEnabled(const Value& value) {
  if (value.type != IBrowserProxySetting::kTypeDword &&
      value.type != IBrowserProxySetting::kTypeBinary) {
    return false;
  }
  if (value.bytes.empty() || value.bytes.size() > 4) return false;
  std::uint32_t number = 0;
  for (std::size_t i = 0; i < value.bytes.size(); ++i) {
    number |= static_cast<std::uint32_t>(value.bytes[i]) << (8 * i);
  }
  return number == 1;
}

bool IsText(const Value& value) {
  return value.type == IBrowserProxySetting::kTypeString ||
         value.type == IBrowserProxySetting::kTypeExpandString;
}

// The named text value up to its first NUL, when it is text and fits the area with its NUL.
int ReadText(IBrowserProxySetting& setting, const char* name, std::string& text,
             std::size_t areaSize) {
  text.clear();
  const std::optional<Value> value = setting.ReadValue(name);
  if (!value || !IsText(*value) || value->bytes.size() > areaSize) return 0;

  const auto end = std::find(value->bytes.begin(), value->bytes.end(), std::uint8_t{0});
  const auto length = static_cast<std::size_t>(end - value->bytes.begin());
  // Stored without its NUL and filling the area: no room left to end the text.
  if (length >= areaSize) return 0;
  text.assign(value->bytes.begin(), end);
  return 1;
}
}  // namespace

int ReadBrowserProxy(IBrowserProxySetting& setting, std::string& text, std::size_t areaSize) {
  text.clear();
  const std::optional<Value> enable = setting.ReadValue(IBrowserProxySetting::kProxyEnable);
  if (!enable || !IsEnabled(*enable)) return 0;
  return ReadText(setting, IBrowserProxySetting::kProxyServer, text, areaSize);
}

int ReadProxyOverride(IBrowserProxySetting& setting, std::string& text, std::size_t areaSize) {
  return ReadText(setting, IBrowserProxySetting::kProxyOverride, text, areaSize);
}

}  // namespace pel
