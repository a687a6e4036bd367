#pragma once

#include <string>

namespace pel {

enum StringId : int {
#define PEL_STRING(id, symbol, text) symbol = id,
#include "res/strings.inc"
#undef PEL_STRING
};

// The text of a string resource, or an empty text for an unknown id.
const char* LoadResString(int id);

// printf-style formatting of a string resource that holds %s or %d.
std::string FormatResString(int id, ...);

}  // namespace pel
