#pragma once

#include <string>
#include <string_view>

namespace kvsim {

// Decodes the C escapes \r \n \t \\ \" and \xHH (exactly two hexadecimal digits). Any other
// backslash sequence is an error: false, with a short reason in error.
bool DecodeEscapes(std::string_view text, std::string& out, std::string& error);

}  // namespace kvsim
