// Feeds arbitrary bytes to the whole address normalisation: the input is split at 0xFF bytes
// into the server address, the proxy address, the hosting page's URL (bytes widened to UTF-16
// units, or two bytes a unit), the browser's "ProxyServer" value and its "ProxyOverride" list;
// the first byte chooses "ProxyEnable", the value's type, the ports' starting values, the URL's
// width and whether there is a hosting browser. Names resolve offline. Checks that the properties come out within
// their limits and that messages are only the two bad-address texts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "control/AddressNormaliser.h"
#include "FuzzParts.h"

using namespace pel;

namespace {
std::optional<std::string> OfflineResolver(const std::string& name) {
  if (name.size() % 3 == 0) return std::nullopt;
  return "10.1.0." + std::to_string(name.size() % 256);
}

class Browser : public IHostBrowser {
 public:
  explicit Browser(std::u16string url) : url_(std::move(url)) {}
  std::u16string LocationURL() override { return url_; }

 private:
  std::u16string url_;
};

class ProxySetting : public IBrowserProxySetting {
 public:
  std::map<std::string, Value> values;
  std::optional<Value> ReadValue(const std::string& name) override {
    auto it = values.find(name);
    if (it == values.end()) return std::nullopt;
    return it->second;
  }
};

class Messages : public IUserMessages {
 public:
  void ShowMessage(const std::string& text) override {
    if (text != "Bad URL format" && text != "Bad Web Proxy URL format") std::abort();
    ++count;
  }
  int count = 0;
};

void Check(bool condition) {
  if (!condition) std::abort();
}

// The browser's proxy entry is not cut at "/", so only the server address is free of it.
bool Within(const std::string& address, const char* excluded) {
  return address.size() <= kMaxHostChars && address.find_first_of(excluded) == std::string::npos;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t flags = data[0];
  const std::vector<std::string> parts = pel::fuzz::SplitParts(data, size, 5);

  const std::u16string url = pel::fuzz::Widen(parts[2], flags & 64);

  ProxySetting proxy;
  const uint8_t enable = flags & 3;  // 0: missing
  if (enable != 0) {
    proxy.values[IBrowserProxySetting::kProxyEnable] = {
        IBrowserProxySetting::kTypeDword, {static_cast<uint8_t>(enable - 1), 0, 0, 0}};
  }
  proxy.values[IBrowserProxySetting::kProxyServer] = {
      (flags & 4) ? IBrowserProxySetting::kTypeString : IBrowserProxySetting::kTypeBinary,
      std::vector<uint8_t>(parts[3].begin(), parts[3].end())};
  proxy.values[IBrowserProxySetting::kProxyOverride] = {
      IBrowserProxySetting::kTypeString, std::vector<uint8_t>(parts[4].begin(), parts[4].end())};

  AddressProperties props;
  props.strIpAddr = parts[0];
  props.strIpAddrProxy = parts[1];
  if (flags & 8) props.iHttpPort = 81;
  if (flags & 16) props.iHttpPortProxy = 3128;
  const AddressProperties before = props;

  Browser browser(url);
  Messages messages;
  NormaliseAddresses(props, (flags & 32) ? nullptr : &browser, proxy, messages,
                     OfflineResolver);

  if (flags & 32) {
    Check(props.strIpAddr == before.strIpAddr && props.strIpAddrProxy == before.strIpAddrProxy);
    Check(messages.count == 0);
    return 0;
  }
  Check(messages.count <= 2);
  Check(Within(props.strIpAddr, ":/") && Within(props.strIpAddrProxy, ":"));
  Check(props.iHttpPort >= 0 && props.iHttpPort <= 65535);
  Check(props.iHttpPortProxy >= 0 && props.iHttpPortProxy <= 65535);
  Check(props.strUserID.size() + props.strUserPWD.size() <= kMaxCredentialChars);
  return 0;
}
