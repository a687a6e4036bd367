#include "TextEscape.h"

#include <cstring>

#include "Text.h"

namespace kvsim {

bool DecodeEscapes(std::string_view text, std::string& out, std::string& error) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c != '\\') {
      out.push_back(c);
      continue;
    }
    if (++i == text.size()) {
      error = "backslash at the end of the line";
      return false;
    }
    static const char kNames[] = "rnt\\\"";
    static const char kBytes[] = "\r\n\t\\\"";
    if (const char* name = std::strchr(kNames, text[i]); name != nullptr && *name != '\0') {
      out.push_back(kBytes[name - kNames]);
      continue;
    }
    if (text[i] != 'x') {
      error = std::string("unknown escape \\") + text[i];
      return false;
    }
    int high = i + 1 < text.size() ? HexValue(text[i + 1]) : -1;
    int low = i + 2 < text.size() ? HexValue(text[i + 2]) : -1;
    if (high < 0 || low < 0) {
      error = "\\x needs two hexadecimal digits";
      return false;
    }
    out.push_back(static_cast<char>(high * 16 + low));
    i += 2;
  }
  return true;
}

}  // namespace kvsim
