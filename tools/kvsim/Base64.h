#pragma once

#include <string>
#include <string_view>

namespace kvsim {

// Standard Base64 (RFC 4648 alphabet, "=" padding, no line breaks).
std::string Base64Encode(std::string_view bytes);

}  // namespace kvsim
