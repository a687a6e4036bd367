#include "control/AddressNormaliser.h"

#include <array>
#include <cstring>
#include <string_view>

#include "control/BrowserProxy.h"
#include "control/PageUrlHost.h"
#include "net/FindInBuffer.h"
#include "res/StringTable.h"

namespace pel {

namespace {
constexpr int kUnsetHttpPort = 80;
constexpr int kUnsetProxyPort = 8080;
constexpr std::string_view kHttpPrefix = "http://";
constexpr const char* kHttpProxyEntry = "http=";

// "http://" (exact case) removed, then everything from the first "/" on.
std::string_view AddressPart(std::string_view text) {
  if (text.substr(0, kHttpPrefix.size()) == kHttpPrefix) text.remove_prefix(kHttpPrefix.size());
  return text.substr(0, text.find('/'));
}

struct Resolved {
  std::string host;
  int port = 0;
  std::string user;
  std::string password;
};

bool ResolveWithCredentials(std::string_view text, Resolved& out, const NameResolver& resolve) {
  return ResolveServerAddress(text, out.host, out.port, &out.user, &out.password, resolve) == 0;
}

// The resolved address replaces the property; the port only while the property still holds
// its default; credentials only when the address carried them.
void AssignServer(AddressProperties& props, Resolved& resolved) {
  props.strIpAddr = std::move(resolved.host);
  if (props.iHttpPort == kUnsetHttpPort) props.iHttpPort = resolved.port;
  if (!resolved.user.empty()) props.strUserID = std::move(resolved.user);
  if (!resolved.password.empty()) props.strUserPWD = std::move(resolved.password);
}

// The text after "http=" up to the next ";" in a setting such as
// "http=10.0.0.1:3128;https=10.0.0.1:3129", looked for in the first bytes of the setting's area;
// empty when there is no such entry.
std::string HttpProxyEntry(const std::string& setting) {
  std::array<char, kBrowserProxyAreaSize> area{};
  std::memcpy(area.data(), setting.data(), std::min(setting.size(), area.size() - 1));
  const char* entry = FindInBuffer(area.data(), kHttpProxyEntry, area.size());
  if (entry == nullptr) return {};
  std::string_view candidate(entry + std::strlen(kHttpProxyEntry));
  return std::string(candidate.substr(0, candidate.find(';')));
}
}  // namespace

void NormaliseServerAddress(AddressProperties& props, IHostBrowser& browser,
                            IUserMessages& messages, const NameResolver& resolve) {
  Resolved resolved;
  if (!props.strIpAddr.empty()) {
    if (ResolveWithCredentials(AddressPart(props.strIpAddr), resolved, resolve)) {
      AssignServer(props, resolved);
    } else {
      props.strIpAddr.clear();
      messages.ShowMessage(LoadResString(IDS_BAD_URL));
    }
    return;
  }
  std::string pageHost;
  if (GetHostFromPageUrl(&browser, pageHost, kAddressTextSize - 1) == 1 &&
      ResolveWithCredentials(pageHost, resolved, resolve)) {
    AssignServer(props, resolved);
  }
}

std::string NormalisedServerHost(const std::string& strIpAddr, const NameResolver& resolve) {
  if (strIpAddr.empty()) return {};
  std::string host;
  int port = 0;
  if (ResolveServerAddress(AddressPart(strIpAddr), host, port, nullptr, nullptr, resolve) != 0) {
    return strIpAddr;
  }
  return host;
}

void NormaliseProxyAddress(AddressProperties& props, IBrowserProxySetting& proxySetting,
                           IUserMessages& messages, const NameResolver& resolve) {
  std::string host;
  int port = 0;
  if (!props.strIpAddrProxy.empty()) {
    // Credentials written into the proxy address are dropped.
    if (ResolveServerAddress(AddressPart(props.strIpAddrProxy), host, port, nullptr, nullptr,
                             resolve) == 0) {
      props.strIpAddrProxy = std::move(host);
      if (props.iHttpPortProxy == kUnsetProxyPort) props.iHttpPortProxy = port;
    } else {
      props.strIpAddrProxy.clear();
      messages.ShowMessage(LoadResString(IDS_BAD_PROXY_URL));
    }
    return;
  }
  std::string setting;
  if (ReadBrowserProxy(proxySetting, setting, kBrowserProxyAreaSize) != 1) return;
  if (ResolveServerAddress(HttpProxyEntry(setting), host, port, nullptr, nullptr, resolve) == 0) {
    props.strIpAddrProxy = std::move(host);
    props.iHttpPortProxy = port;
  }
}

void NormaliseAddresses(AddressProperties& props, IHostBrowser* browser,
                        IBrowserProxySetting& proxySetting, IUserMessages& messages,
                        const NameResolver& resolve) {
  if (browser == nullptr) return;
  NormaliseServerAddress(props, *browser, messages, resolve);
  NormaliseProxyAddress(props, proxySetting, messages, resolve);
}

}  // namespace pel
