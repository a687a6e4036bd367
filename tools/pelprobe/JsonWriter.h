#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pel::probe {

// The JSON text of a string: in double quotes, with quotes, backslashes and control
// characters escaped. Valid UTF-8 sequences are kept as they are; every byte that is not part
// of one becomes \u00XX, so any bytes give valid JSON (read back, such a byte is the code point
// of the same value).
std::string JsonString(std::string_view bytes);

// Writes one JSON value into a text, with indentation. Objects and arrays opened as compact
// are written on one line with everything inside them. Keys and values must come in a valid
// order; the writer inserts the commas.
class JsonWriter {
 public:
  explicit JsonWriter(std::string& out) : out_(out) {}

  JsonWriter& BeginObject(bool compact = false) { return Open('{', compact); }
  JsonWriter& EndObject() { return Close('}'); }
  JsonWriter& BeginArray(bool compact = false) { return Open('[', compact); }
  JsonWriter& EndArray() { return Close(']'); }

  // The next member's name (inside an object).
  JsonWriter& Key(std::string_view name);

  JsonWriter& String(std::string_view bytes);
  JsonWriter& Int(int64_t value);
  JsonWriter& Unsigned(uint64_t value);
  JsonWriter& Double(double value);  // null for NaN and infinities
  JsonWriter& Bool(bool value);
  JsonWriter& Null();

 private:
  struct Level {
    char close;
    bool compact;
    int members = 0;
  };

  JsonWriter& Open(char open, bool compact);
  JsonWriter& Close(char close);
  // Comma and line break before a value (not after a key).
  void BeforeValue();
  void NewLine(size_t depth);
  bool Compact() const { return !levels_.empty() && levels_.back().compact; }

  std::string& out_;
  std::vector<Level> levels_;
  bool afterKey_ = false;
};

}  // namespace pel::probe
