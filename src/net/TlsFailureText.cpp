#include "net/TlsFailureText.h"

#include "net/HttpClient.h"
#include "res/StringTable.h"

namespace pel {

std::string TlsFailureText(int result, const std::string& host) {
  int id = 0;
  switch (result) {
    case HTTP_GET_TLS_UNTRUSTED:
      id = IDS_TLS_UNTRUSTED;
      break;
    case HTTP_GET_TLS_EXPIRED:
      id = IDS_TLS_EXPIRED;
      break;
    case HTTP_GET_TLS_WRONG_NAME:
      id = IDS_TLS_WRONG_NAME;
      break;
    case HTTP_GET_TLS_FAILED:
      id = IDS_TLS_FAILED;
      break;
    default:
      return std::string();
  }
  return FormatResString(id, host.c_str());
}

}  // namespace pel
