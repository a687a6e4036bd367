// Whole numbers from command lines and report fields, refused unless the text is the number
// and nothing else: "12" and "0x1F" are numbers; "", " 12", "12x", "1.5", "010" as octal
// (it is ten) and "-" are not.
#pragma once
#include <string_view>

namespace hostkit {

bool ParseInt(std::string_view text, int* out);
// No sign at all: "-1" is refused rather than wrapped round.
bool ParseUnsigned(std::string_view text, unsigned long long* out);
// Two numbers joined by `separator` ("1290x720", "10,20", "3012:1"), nothing else.
bool ParseIntPair(std::string_view text, char separator, int* a, int* b);

}  // namespace hostkit
