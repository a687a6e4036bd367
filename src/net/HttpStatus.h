#pragma once

#include <cstddef>

#include "ports/UserMessages.h"

namespace pel {

// 1 when the status means success (200, 204); otherwise shows the matching message for the
// page and gives 0.
int CheckHttpStatus(IUserMessages& messages, const char* pageName, int status);

// The status code of a raw response: the three characters after "HTTP/1.1 " (offsets 9 to 11)
// read as a number. 0 when fewer than 12 bytes were received or there are no digits.
int ReadHttpStatusCode(const char* response, size_t received);

}  // namespace pel
