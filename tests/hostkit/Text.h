// Text conversions and report fields: UTF-8 on the narrow side, always.
#pragma once
#include <string>
#include <string_view>

namespace hostkit {

std::string Utf8(std::wstring_view text);
std::wstring Wide(std::string_view utf8);

// A report field on one line: tab, line feed, carriage return, NUL and backslash escaped as
// \t \n \r \0 \\ (the Python suites' unescape undoes it), in UTF-8.
std::string Escaped(std::wstring_view text);
std::string Escaped(std::string_view utf8);

// "0x%08lX": HRESULTs and handle values.
std::string Hex(unsigned long value);

}  // namespace hostkit
