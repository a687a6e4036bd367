#include "control/AddressNormaliser.h"

#include <array>
#include <cstring>
#include <string_view>

#include "control/BrowserProxy.h"
#include "control/PageUrlHost.h"
#include "control/ServerUrl.h"
#include "net/FindInBuffer.h"
#include "res/StringTable.h"
#include "trust/ProxyBypass.h"

namespace pel {

namespace {
constexpr int kUnsetHttpPort = 80;
constexpr int kUnsetProxyPort = 8080;
constexpr const char* kHttpProxyEntry = "http=";
constexpr const char* kHttpsProxyEntry = "https=";

// The address without its scheme and cut before the first "/".
std::string_view AddressPart(const SchemeSplit& split) {
  return split.rest.substr(0, split.rest.find('/'));
}

struct Resolved {
  std::string host;
  int port = 0;
  std::string user;
  std::string password;
  std::string written;
  bool tls = false;
};

// An https address without a port means the https port; a plain one keeps the resolver's 80.
bool ResolveWithCredentials(std::string_view text, bool tls, Resolved& out,
                            const NameResolver& resolve) {
  if (ResolveServerAddress(text, out.host, out.port, &out.user, &out.password, resolve) != 0) {
    return false;
  }
  out.written.assign(WrittenHost(text));
  out.tls = tls;
  if (tls && !NamesPort(text)) out.port = kHttpsPort;
  return true;
}

// The resolved address replaces the property; the port only while the property still holds
// its default; credentials only when the address carried them. An https server keeps the host
// as written beside its address: the certificate has to name that host, not the address.
void AssignServer(AddressProperties& props, Resolved& resolved) {
  props.writtenHost = resolved.written;
  if (resolved.tls && !resolved.host.empty()) {
    props.tlsHost = resolved.written;
    props.tlsAddress = resolved.host;
  }
  props.strIpAddr = std::move(resolved.host);
  if (props.iHttpPort == kUnsetHttpPort) props.iHttpPort = resolved.port;
  if (!resolved.user.empty()) props.strUserID = std::move(resolved.user);
  if (!resolved.password.empty()) props.strUserPWD = std::move(resolved.password);
}

// The text after `name` ("http=" or "https=") up to the next ";" in a setting such as
// "http=10.0.0.1:3128;https=10.0.0.1:3129", looked for in the first bytes of the setting's area;
// empty when there is no such entry.
std::string ProxyEntry(const std::string& setting, const char* name) {
  std::array<char, kBrowserProxyAreaSize> area{};
  std::memcpy(area.data(), setting.data(), std::min(setting.size(), area.size() - 1));
  const char* entry = FindInBuffer(area.data(), name, area.size());
  if (entry == nullptr) return {};
  std::string_view candidate(entry + std::strlen(name));
  return std::string(candidate.substr(0, candidate.find(';')));
}

// Whether the browser's own exception list sends requests to the server past its proxy.
bool BrowserBypasses(IBrowserProxySetting& proxySetting, const AddressProperties& props) {
  std::string list;
  if (ReadProxyOverride(proxySetting, list, kProxyOverrideAreaSize) != 1) return false;
  return ProxyBypassed(list, BypassTarget{!props.tlsHost.empty(), props.writtenHost,
                                          props.strIpAddr, props.iHttpPort});
}
}  // namespace

void NormaliseServerAddress(AddressProperties& props, IHostBrowser& browser,
                            IUserMessages& messages, const NameResolver& resolve) {
  // The address an earlier start made of an https URL stays https when it is normalised again
  // (the control's window can be created more than once).
  const bool keptTls = !props.tlsHost.empty() && props.strIpAddr == props.tlsAddress;
  const std::string keptTlsHost = props.tlsHost;
  props.tlsHost.clear();
  props.tlsAddress.clear();
  props.writtenHost.clear();
  Resolved resolved;
  if (!props.strIpAddr.empty()) {
    const SchemeSplit split = SplitScheme(props.strIpAddr);
    const bool tls = split.tls || (keptTls && !split.scheme);
    if (ResolveWithCredentials(AddressPart(split), tls, resolved, resolve)) {
      if (keptTls && !split.scheme) resolved.written = keptTlsHost;
      AssignServer(props, resolved);
    } else {
      props.strIpAddr.clear();
      messages.ShowMessage(LoadResString(IDS_BAD_URL));
    }
    return;
  }
  std::string pageHost;
  bool pageOverTls = false;
  if (GetHostFromPageUrl(&browser, pageHost, kAddressTextSize - 1, &pageOverTls) == 1 &&
      ResolveWithCredentials(pageHost, pageOverTls, resolved, resolve)) {
    AssignServer(props, resolved);
  }
}

std::string NormalisedServerHost(const std::string& strIpAddr, const NameResolver& resolve) {
  if (strIpAddr.empty()) return {};
  std::string host;
  int port = 0;
  if (ResolveServerAddress(AddressPart(SplitScheme(strIpAddr)), host, port, nullptr, nullptr,
                           resolve) != 0) {
    return strIpAddr;
  }
  return host;
}

void NormaliseProxyAddress(AddressProperties& props, IBrowserProxySetting& proxySetting,
                           IUserMessages& messages, const NameResolver& resolve) {
  std::string host;
  int port = 0;
  if (!props.strIpAddrProxy.empty()) {
    // Credentials written into the proxy address are dropped. The control speaks plain http to
    // its proxy: an "https://" proxy is not one it can use, and stays a bad address.
    SchemeSplit split = SplitScheme(props.strIpAddrProxy);
    if (split.tls) split = SchemeSplit{props.strIpAddrProxy};
    if (ResolveServerAddress(AddressPart(split), host, port, nullptr, nullptr, resolve) == 0) {
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
  // The entry the browser itself uses for the server's scheme.
  const char* entry = props.tlsHost.empty() ? kHttpProxyEntry : kHttpsProxyEntry;
  if (ResolveServerAddress(ProxyEntry(setting, entry), host, port, nullptr, nullptr, resolve) ==
          0 &&
      !BrowserBypasses(proxySetting, props)) {
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
