#include "net/HttpStatus.h"

#include "res/StringTable.h"
#include "net/ParseNumber.h"

namespace pel {

namespace {
constexpr size_t kStatusOffset = 9;
constexpr size_t kStatusDigits = 3;
}  // namespace

int CheckHttpStatus(IUserMessages& messages, const char* pageName, int status) {
  const char* page = pageName != nullptr ? pageName : "";
  switch (status) {
    case 200:
    case 204:
      return 1;
    case 400:
    case 404:
      messages.ShowMessage(FormatResString(IDS_HTTP_NOT_FOUND, page));
      return 0;
    case 401:
      messages.ShowMessage(FormatResString(IDS_HTTP_AUTH_FAILED, page));
      return 0;
    default:
      messages.ShowMessage(FormatResString(IDS_HTTP_ERROR, status, page));
      return 0;
  }
}

int ReadHttpStatusCode(const char* response, size_t received) {
  if (response == nullptr || received < kStatusOffset + kStatusDigits) return 0;
  return ParseNumber(response + kStatusOffset, kStatusDigits);
}

}  // namespace pel
