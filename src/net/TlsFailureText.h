#pragma once

#include <string>

namespace pel {

// The message for a read that ended with `result` (an HttpGet result code) because its secure
// connection to `host` (as written) failed or was refused; empty for any other result.
std::string TlsFailureText(int result, const std::string& host);

}  // namespace pel
