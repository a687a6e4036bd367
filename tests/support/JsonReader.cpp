#include "support/JsonReader.h"

#include <cctype>
#include <cstdlib>

namespace pel::test {

namespace {

const JsonValue& NullValue() {
  static const JsonValue null;
  return null;
}

class Parser {
 public:
  explicit Parser(const std::string& s) : s_(s) {}

  bool Document(JsonValue& out) {
    if (!Value(out, 0)) return false;
    Blank();
    return i_ == s_.size();
  }

 private:
  static constexpr int kMaxDepth = 64;

  void Blank() {
    while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t' || s_[i_] == '\n' || s_[i_] == '\r')) ++i_;
  }
  bool Eat(char c) {
    Blank();
    if (i_ < s_.size() && s_[i_] == c) {
      ++i_;
      return true;
    }
    return false;
  }
  bool Word(const char* word) {
    const std::string w(word);
    if (s_.compare(i_, w.size(), w) != 0) return false;
    i_ += w.size();
    return true;
  }

  bool Value(JsonValue& out, int depth) {
    if (depth > kMaxDepth) return false;
    Blank();
    if (i_ >= s_.size()) return false;
    const char c = s_[i_];
    if (c == '{') return Object(out, depth);
    if (c == '[') return Array(out, depth);
    if (c == '"') {
      out.type = JsonValue::Type::kString;
      return String(out.text);
    }
    if (Word("null")) return true;
    if (Word("true") || Word("false")) {
      out.type = JsonValue::Type::kBool;
      out.boolean = c == 't';
      return true;
    }
    return Number(out);
  }

  bool Number(JsonValue& out) {
    const size_t start = i_;
    if (i_ < s_.size() && s_[i_] == '-') ++i_;
    const size_t digits = i_;
    while (i_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[i_]))) ++i_;
    if (i_ == digits || (s_[digits] == '0' && i_ - digits > 1)) return false;
    if (i_ < s_.size() && s_[i_] == '.') {
      ++i_;
      const size_t fraction = i_;
      while (i_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[i_]))) ++i_;
      if (i_ == fraction) return false;
    }
    if (i_ < s_.size() && (s_[i_] == 'e' || s_[i_] == 'E')) {
      ++i_;
      if (i_ < s_.size() && (s_[i_] == '+' || s_[i_] == '-')) ++i_;
      const size_t exponent = i_;
      while (i_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[i_]))) ++i_;
      if (i_ == exponent) return false;
    }
    out.type = JsonValue::Type::kNumber;
    out.text = s_.substr(start, i_ - start);
    return true;
  }

  static void AppendUtf8(std::string& out, unsigned cp) {
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }

  bool String(std::string& out) {
    ++i_;  // the opening quote
    while (i_ < s_.size()) {
      const unsigned char c = static_cast<unsigned char>(s_[i_++]);
      if (c == '"') return true;
      if (c < 0x20) return false;
      if (c != '\\') {
        out += static_cast<char>(c);
        continue;
      }
      if (i_ >= s_.size()) return false;
      const char e = s_[i_++];
      switch (e) {
        case '"': case '\\': case '/': out += e; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u': {
          if (i_ + 4 > s_.size()) return false;
          const std::string hex = s_.substr(i_, 4);
          if (hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) return false;
          const unsigned cp = static_cast<unsigned>(std::strtoul(hex.c_str(), nullptr, 16));
          if (cp >= 0xD800 && cp <= 0xDFFF) return false;  // pairs are not needed here
          AppendUtf8(out, cp);
          i_ += 4;
          break;
        }
        default: return false;
      }
    }
    return false;
  }

  bool Array(JsonValue& out, int depth) {
    ++i_;
    out.type = JsonValue::Type::kArray;
    if (Eat(']')) return true;
    do {
      out.items.emplace_back();
      if (!Value(out.items.back(), depth + 1)) return false;
    } while (Eat(','));
    return Eat(']');
  }

  bool Object(JsonValue& out, int depth) {
    ++i_;
    out.type = JsonValue::Type::kObject;
    if (Eat('}')) return true;
    do {
      std::string key;
      Blank();
      if (i_ >= s_.size() || s_[i_] != '"' || !String(key) || !Eat(':')) return false;
      out.members.emplace_back(key, JsonValue{});
      if (!Value(out.members.back().second, depth + 1)) return false;
    } while (Eat(','));
    return Eat('}');
  }

  const std::string& s_;
  size_t i_ = 0;
};

}  // namespace

const JsonValue& JsonValue::operator[](const std::string& key) const {
  for (const auto& member : members) {
    if (member.first == key) return member.second;
  }
  return NullValue();
}

const JsonValue& JsonValue::operator[](size_t index) const {
  return index < items.size() ? items[index] : NullValue();
}

bool JsonValue::Has(const std::string& key) const {
  for (const auto& member : members) {
    if (member.first == key) return true;
  }
  return false;
}

int64_t JsonValue::Int() const {
  if (type != Type::kNumber || text.find_first_of(".eE") != std::string::npos) return 0;
  return std::strtoll(text.c_str(), nullptr, 10);
}

double JsonValue::Double() const { return type == Type::kNumber ? std::strtod(text.c_str(), nullptr) : 0.0; }

std::vector<std::string> JsonValue::Keys() const {
  std::vector<std::string> keys;
  for (const auto& member : members) keys.push_back(member.first);
  return keys;
}

std::optional<JsonValue> ParseJson(const std::string& text) {
  JsonValue value;
  if (!Parser(text).Document(value)) return std::nullopt;
  return value;
}

}  // namespace pel::test
