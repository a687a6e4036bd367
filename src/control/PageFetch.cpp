#include "control/PageFetch.h"

#include <string>

#include "net/HttpClient.h"
#include "net/HttpStatus.h"
#include "net/TlsFailureText.h"
#include "res/StringTable.h"

namespace pel {

PageReadOutcome FetchPage(const char* path, const ControlProperties& props,
                          IUserMessages& messages, PageBuffer& page, IRequestGate* gate) {
  page.bytes.assign(kPageBufferSize, '\0');
  page.received = 0;
  if (gate != nullptr && !gate->AllowRequest(props.strIpAddr, props.strIpAddrProxy)) {
    return PageReadOutcome::kNotRead;
  }
  const std::string tlsHost = ServerTlsHost(props);
  if (RefusesCredentialsOverPlainHttp(gate, props.strUserID, props.strUserPWD, tlsHost)) {
    messages.ShowMessage(FormatResString(IDS_PLAIN_CREDENTIALS_REFUSED, props.strIpAddr.c_str()));
    return PageReadOutcome::kNotRead;
  }
  const int result = HttpGet(path, props.strIpAddr.c_str(),
                             static_cast<unsigned short>(props.iHttpPort), props.strUserID.c_str(),
                             props.strUserPWD.c_str(), page.bytes.data(),
                             static_cast<int>(page.bytes.size()), props.strIpAddrProxy.c_str(),
                             static_cast<unsigned short>(props.iHttpPortProxy), tlsHost.c_str());
  if (result < 0) {
    const std::string tlsText = TlsFailureText(result, tlsHost);
    messages.ShowMessage(!tlsText.empty() ? tlsText
                                          : FormatResString(IDS_GETASPWP_READ_FAILED, path));
    return PageReadOutcome::kRequestFailed;
  }
  page.received = static_cast<size_t>(result);
  const int status = ReadHttpStatusCode(page.bytes.data(), page.received);
  return CheckHttpStatus(messages, path, status) != 0 ? PageReadOutcome::kRead
                                                     : PageReadOutcome::kStatusFailed;
}

}  // namespace pel
