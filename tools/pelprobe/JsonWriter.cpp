#include "JsonWriter.h"

#include <cmath>
#include <cstdio>

#include "Utf8.h"

namespace pel::probe {

namespace {

void AppendUnicodeEscape(std::string& out, unsigned char c) {
  char escaped[8];
  std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(c));
  out += escaped;
}

}  // namespace

std::string JsonString(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + 2);
  out += '"';
  size_t i = 0;
  while (i < bytes.size()) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c >= 0x80) {
      const size_t length = Utf8SequenceLength(bytes.substr(i));
      if (length == 0) {
        AppendUnicodeEscape(out, c);
        ++i;
      } else {
        out.append(bytes.substr(i, length));
        i += length;
      }
      continue;
    }
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          AppendUnicodeEscape(out, c);
        } else {
          out += static_cast<char>(c);
        }
    }
    ++i;
  }
  out += '"';
  return out;
}

void JsonWriter::NewLine(size_t depth) {
  out_ += '\n';
  out_.append(depth * 2, ' ');
}

void JsonWriter::BeforeValue() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (levels_.empty()) return;
  Level& level = levels_.back();
  if (level.members++ > 0) out_ += Compact() ? ", " : ",";
  if (!level.compact) NewLine(levels_.size());
}

JsonWriter& JsonWriter::Open(char open, bool compact) {
  BeforeValue();
  out_ += open;
  // Everything inside a compact container stays on its line.
  levels_.push_back(Level{open == '{' ? '}' : ']', compact || Compact()});
  return *this;
}

JsonWriter& JsonWriter::Close(char close) {
  if (levels_.empty() || levels_.back().close != close) return *this;
  const Level level = levels_.back();
  levels_.pop_back();
  if (level.members > 0 && !level.compact) NewLine(levels_.size());
  out_ += close;
  if (levels_.empty()) out_ += '\n';
  return *this;
}

JsonWriter& JsonWriter::Key(std::string_view name) {
  BeforeValue();
  out_ += JsonString(name);
  out_ += ": ";
  afterKey_ = true;
  return *this;
}

JsonWriter& JsonWriter::String(std::string_view bytes) {
  BeforeValue();
  out_ += JsonString(bytes);
  return *this;
}

JsonWriter& JsonWriter::Int(int64_t value) {
  BeforeValue();
  out_ += std::to_string(value);
  return *this;
}

JsonWriter& JsonWriter::Unsigned(uint64_t value) {
  BeforeValue();
  out_ += std::to_string(value);
  return *this;
}

JsonWriter& JsonWriter::Double(double value) {
  if (!std::isfinite(value)) return Null();
  BeforeValue();
  char text[32];
  std::snprintf(text, sizeof text, "%.17g", value);
  out_ += text;
  return *this;
}

JsonWriter& JsonWriter::Bool(bool value) {
  BeforeValue();
  out_ += value ? "true" : "false";
  return *this;
}

JsonWriter& JsonWriter::Null() {
  BeforeValue();
  out_ += "null";
  return *this;
}

}  // namespace pel::probe
