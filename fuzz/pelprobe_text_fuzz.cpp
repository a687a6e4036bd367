// How pelprobe shows the server's texts: any bytes give a valid JSON string, and a terminal
// line without control bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "../tools/pelprobe/JsonWriter.cpp"
#include "../tools/pelprobe/Utf8.cpp"

namespace {

bool IsHex(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// The inside of a JSON string: escapes complete, no bare quote or control byte, UTF-8 only.
bool ValidJsonString(std::string_view s) {
  if (s.size() < 2 || s.front() != '"' || s.back() != '"') return false;
  const std::string_view inside = s.substr(1, s.size() - 2);
  size_t i = 0;
  while (i < inside.size()) {
    const unsigned char c = static_cast<unsigned char>(inside[i]);
    if (c == '"' || c < 0x20) return false;
    if (c == '\\') {
      if (i + 1 >= inside.size()) return false;
      const char e = inside[i + 1];
      if (e == 'u') {
        if (i + 6 > inside.size()) return false;
        for (size_t k = 2; k < 6; ++k) {
          if (!IsHex(inside[i + k])) return false;
        }
        i += 6;
      } else if (std::string_view("\"\\/bfnrt").find(e) != std::string_view::npos) {
        i += 2;
      } else {
        return false;
      }
    } else if (c >= 0x80) {
      const size_t length = pel::probe::Utf8SequenceLength(inside.substr(i));
      if (length == 0) return false;
      i += length;
    } else {
      ++i;
    }
  }
  return true;
}

bool PrintableLine(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x20 || c == 0x7F) return false;
    if (c < 0x80) {
      ++i;
      continue;
    }
    const size_t length = pel::probe::Utf8SequenceLength(s.substr(i));
    if (length == 0) return false;
    if (c == 0xC2 && static_cast<unsigned char>(s[i + 1]) < 0xA0) return false;  // C1 controls
    i += length;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (!ValidJsonString(pel::probe::JsonString(bytes))) __builtin_trap();
  if (!PrintableLine(pel::probe::Printable(bytes))) __builtin_trap();
  return 0;
}
