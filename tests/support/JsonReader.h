#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace pel::test {

// A parsed JSON value, for checking what programs print. Strings are UTF-8 (\u escapes
// decoded); numbers keep their text and read as integers or doubles.
struct JsonValue {
  enum class Type { kNull, kBool, kNumber, kString, kArray, kObject };

  Type type = Type::kNull;
  bool boolean = false;
  std::string text;  // kString: the decoded bytes; kNumber: the number as written
  std::vector<JsonValue> items;
  std::vector<std::pair<std::string, JsonValue>> members;  // in document order

  // Member `key` of an object; a null value when there is none.
  const JsonValue& operator[](const std::string& key) const;
  const JsonValue& operator[](size_t index) const;
  bool Has(const std::string& key) const;
  int64_t Int() const;  // 0 unless an integral number
  double Double() const;
  std::vector<std::string> Keys() const;
};

// The one JSON value of `text` (white space around it allowed), or nothing when the text is
// not valid JSON.
std::optional<JsonValue> ParseJson(const std::string& text);

}  // namespace pel::test
