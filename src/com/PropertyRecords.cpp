#include "com/PropertyRecords.h"

namespace pel::com {

namespace {

void PutU32(std::vector<uint8_t>& out, uint32_t value) {
  for (int k = 0; k < 4; ++k) out.push_back(static_cast<uint8_t>(value >> (8 * k)));
}

bool GetU32(const uint8_t* data, size_t size, size_t& at, uint32_t& value) {
  if (size - at < 4) return false;
  value = 0;
  for (int k = 0; k < 4; ++k) value |= static_cast<uint32_t>(data[at + k]) << (8 * k);
  at += 4;
  return true;
}

}  // namespace

std::vector<uint8_t> EncodePropertyRecords(const std::vector<PropertyRecord>& records) {
  std::vector<uint8_t> out;
  for (const PropertyRecord& r : records) {
    out.push_back(r.type);
    switch (r.type) {
      case PropertyRecord::kLong:
        PutU32(out, static_cast<uint32_t>(r.number));
        break;
      case PropertyRecord::kBool:
        out.push_back(r.number != 0 ? 1 : 0);
        break;
      case PropertyRecord::kText: {
        const size_t n = r.text.size() < kMaxRecordText ? r.text.size() : kMaxRecordText;
        PutU32(out, static_cast<uint32_t>(n));
        out.insert(out.end(), r.text.begin(), r.text.begin() + static_cast<ptrdiff_t>(n));
        break;
      }
    }
  }
  return out;
}

std::optional<std::vector<PropertyRecord>> DecodePropertyRecords(const uint8_t* data,
                                                                 size_t size) {
  std::vector<PropertyRecord> records;
  if (size > 0 && !data) return std::nullopt;
  size_t at = 0;
  while (at < size) {
    PropertyRecord r;
    const uint8_t type = data[at++];
    uint32_t value = 0;
    switch (type) {
      case PropertyRecord::kLong:
        if (!GetU32(data, size, at, value)) return std::nullopt;
        r.type = PropertyRecord::kLong;
        r.number = static_cast<int32_t>(value);
        break;
      case PropertyRecord::kBool:
        if (at >= size || data[at] > 1) return std::nullopt;
        r.type = PropertyRecord::kBool;
        r.number = data[at++];
        break;
      case PropertyRecord::kText:
        if (!GetU32(data, size, at, value) || value > kMaxRecordText || size - at < value) {
          return std::nullopt;
        }
        r.type = PropertyRecord::kText;
        r.text.assign(reinterpret_cast<const char*>(data + at), value);
        at += value;
        break;
      default:
        return std::nullopt;
    }
    records.push_back(std::move(r));
  }
  return records;
}

}  // namespace pel::com
