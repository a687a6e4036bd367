#include "support/FakeBrowserPorts.h"

namespace pel::test {

FakeHostBrowser FakeHostBrowser::FromBytes(const std::string& url) {
  std::u16string units;
  for (unsigned char c : url) units.push_back(static_cast<char16_t>(c));
  return FakeHostBrowser(units);
}

std::u16string FakeHostBrowser::LocationURL() {
  ++calls_;
  return url_;
}

void FakeBrowserProxySetting::SetDword(const std::string& name, std::uint32_t number) {
  std::vector<std::uint8_t> bytes;
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(number >> (8 * i)));
  SetRaw(name, kTypeDword, std::move(bytes));
}

void FakeBrowserProxySetting::SetString(const std::string& name, const std::string& text,
                                        bool withNul) {
  std::vector<std::uint8_t> bytes(text.begin(), text.end());
  if (withNul) bytes.push_back(0);
  SetRaw(name, kTypeString, std::move(bytes));
}

void FakeBrowserProxySetting::SetRaw(const std::string& name, std::uint32_t type,
                                     std::vector<std::uint8_t> bytes) {
  values_[name] = Value{type, std::move(bytes)};
}

void FakeBrowserProxySetting::Enable(const std::string& server) {
  SetDword(kProxyEnable, 1);
  SetString(kProxyServer, server);
}

std::optional<IBrowserProxySetting::Value> FakeBrowserProxySetting::ReadValue(
    const std::string& name) {
  reads_.push_back(name);
  auto it = values_.find(name);
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

}  // namespace pel::test
