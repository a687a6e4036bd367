#pragma once

#include <cstdint>
#include <string>

#include "net/ResolveServerAddress.h"
#include "ports/BrowserProxySetting.h"
#include "ports/HostBrowser.h"
#include "ports/UserMessages.h"

namespace pel {

// The control's properties that address normalisation reads and rewrites.
struct AddressProperties {
  std::string strIpAddr;
  std::int32_t iHttpPort = 80;
  std::string strUserID;
  std::string strUserPWD;
  std::string strIpAddrProxy;
  std::int32_t iHttpPortProxy = 8080;
  // Not properties. For an https server, the host as written and the address it resolved to
  // (both empty for plain http); the server's host as written, whatever its scheme, which the
  // browser's proxy exceptions are compared with.
  std::string tlsHost;
  std::string tlsAddress;
  std::string writtenHost;
};

// Size of the area that holds the hosting page's host text, terminating NUL included.
constexpr std::size_t kAddressTextSize = 128;

// Turns `strIpAddr` into a dotted address with the port and credentials split off; an empty
// address is taken from the hosting page's "http://" or "https://" URL. An "https://" address
// (or page) means port 443 when it names none, and sets `tlsHost` and `tlsAddress`; the
// address an earlier normalisation made of it stays https. A bad explicit address is emptied
// and "Bad URL format" shown; a bad page address is silently left empty.
void NormaliseServerAddress(AddressProperties& props, IHostBrowser& browser,
                            IUserMessages& messages,
                            const NameResolver& resolve = LookupHostIPv4);

// The same for the web proxy; an empty proxy is taken from the browser's proxy setting, its
// "https=" entry for an https server, else its "http=" entry, unless the browser's proxy
// exceptions name the server (then no proxy). A bad explicit proxy is emptied and "Bad Web
// Proxy URL format" shown. Runs after the server's normalisation, whose results it reads.
void NormaliseProxyAddress(AddressProperties& props, IBrowserProxySetting& proxySetting,
                           IUserMessages& messages,
                           const NameResolver& resolve = LookupHostIPv4);

// The host `strIpAddr` names as the normalisation would read it, without changing anything or
// showing a message; the text as it is when it cannot be read, empty for an empty address. What
// the site lock compares before the start.
std::string NormalisedServerHost(const std::string& strIpAddr,
                                 const NameResolver& resolve = LookupHostIPv4);

// The server address first, then the proxy; nothing at all without a hosting browser (other
// containers hand over their properties ready to use).
void NormaliseAddresses(AddressProperties& props, IHostBrowser* browser,
                        IBrowserProxySetting& proxySetting, IUserMessages& messages,
                        const NameResolver& resolve = LookupHostIPv4);

}  // namespace pel
