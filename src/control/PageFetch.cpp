#include "control/PageFetch.h"

#include "net/HttpClient.h"
#include "net/HttpStatus.h"
#include "res/StringTable.h"

namespace pel {

PageReadOutcome FetchPage(const char* path, const ControlProperties& props,
                          IUserMessages& messages, PageBuffer& page, IRequestGate* gate) {
  page.bytes.assign(kPageBufferSize, '\0');
  page.received = 0;
  if (gate != nullptr && !gate->AllowRequest(props.strIpAddr, props.strIpAddrProxy)) {
    return PageReadOutcome::kNotRead;
  }
  const int result = HttpGet(path, props.strIpAddr.c_str(),
                             static_cast<unsigned short>(props.iHttpPort), props.strUserID.c_str(),
                             props.strUserPWD.c_str(), page.bytes.data(),
                             static_cast<int>(page.bytes.size()), props.strIpAddrProxy.c_str(),
                             static_cast<unsigned short>(props.iHttpPortProxy));
  if (result < 0) {
    messages.ShowMessage(FormatResString(IDS_GETASPWP_READ_FAILED, path));
    return PageReadOutcome::kRequestFailed;
  }
  page.received = static_cast<size_t>(result);
  const int status = ReadHttpStatusCode(page.bytes.data(), page.received);
  return CheckHttpStatus(messages, path, status) != 0 ? PageReadOutcome::kRead
                                                     : PageReadOutcome::kStatusFailed;
}

}  // namespace pel
