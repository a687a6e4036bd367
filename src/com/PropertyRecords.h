#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pel::com {

// The control's persisted state in a stream: a sequence of typed values in the order the
// control exchanges them (names are not stored). Each record is a type byte and its value,
// little-endian: 1 a 32-bit integer, 2 a BOOL (one byte, 0 or 1), 3 a text (32-bit length,
// then that many bytes). Written plain C++ so that the reader can be fuzzed natively.
struct PropertyRecord {
  enum Type : uint8_t { kLong = 1, kBool = 2, kText = 3 };
  Type type = kLong;
  int32_t number = 0;  // kLong; kBool as 0 or 1
  std::string text;    // kText
};

// Texts longer than this are not the control's (addresses and credentials are short).
constexpr size_t kMaxRecordText = 64 * 1024;

std::vector<uint8_t> EncodePropertyRecords(const std::vector<PropertyRecord>& records);
// Nothing when the bytes are not a well-formed sequence of records.
std::optional<std::vector<PropertyRecord>> DecodePropertyRecords(const uint8_t* data,
                                                                 size_t size);

}  // namespace pel::com
