#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

namespace pel::com {

// A VARIANT as a line of a log or report: TRUE/FALSE, decimal numbers, texts (ANSI) with tab,
// newline and backslash escaped, "<N bytes>" for byte arrays, "" for VT_EMPTY. A VARIANT*
// argument is read through.
std::string VariantText(const VARIANT& value);

}  // namespace pel::com
