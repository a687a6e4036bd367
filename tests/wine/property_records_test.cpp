// The record format of the control's persisted stream.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "com/PropertyRecords.h"

namespace {

using pel::com::DecodePropertyRecords;
using pel::com::EncodePropertyRecords;
using pel::com::PropertyRecord;

std::vector<uint8_t> Bytes(std::initializer_list<int> values) {
  std::vector<uint8_t> out;
  for (int v : values) out.push_back(static_cast<uint8_t>(v));
  return out;
}

TEST(PropertyRecords, EncodeThenDecodeGivesTheSameValues) {
  const std::vector<PropertyRecord> records = {
      {PropertyRecord::kLong, 0x00010000, {}},
      {PropertyRecord::kLong, -1, {}},
      {PropertyRecord::kBool, 1, {}},
      {PropertyRecord::kBool, 0, {}},
      {PropertyRecord::kText, 0, ""},
      {PropertyRecord::kText, 0, std::string("a\0b", 3)},
  };
  const std::vector<uint8_t> bytes = EncodePropertyRecords(records);
  EXPECT_EQ(Bytes({1, 0, 0, 1, 0}), std::vector<uint8_t>(bytes.begin(), bytes.begin() + 5));
  const auto back = DecodePropertyRecords(bytes.data(), bytes.size());
  ASSERT_TRUE(back);
  ASSERT_EQ(records.size(), back->size());
  for (size_t k = 0; k < records.size(); ++k) {
    EXPECT_EQ(records[k].type, (*back)[k].type) << k;
    EXPECT_EQ(records[k].number, (*back)[k].number) << k;
    EXPECT_EQ(records[k].text, (*back)[k].text) << k;
  }
  EXPECT_TRUE(DecodePropertyRecords(nullptr, 0));
}

TEST(PropertyRecords, MalformedBytesAreRefused) {
  const std::vector<std::vector<uint8_t>> bad = {
      Bytes({0}),                       // no such type
      Bytes({4, 1}),                    // no such type
      Bytes({1, 1, 2, 3}),              // a long cut short
      Bytes({2}),                       // a BOOL without its byte
      Bytes({2, 2}),                    // a BOOL that is neither 0 nor 1
      Bytes({3, 5, 0, 0, 0, 'a', 'b'}), // a text longer than what follows
      Bytes({3, 0xFF, 0xFF, 0xFF, 0xFF}),
      Bytes({3, 1, 0, 1, 0}),           // longer than any text the control keeps
  };
  for (size_t k = 0; k < bad.size(); ++k) {
    EXPECT_FALSE(DecodePropertyRecords(bad[k].data(), bad[k].size())) << k;
  }
}

TEST(PropertyRecords, OverlongTextsAreCutWhenWritten) {
  const std::string text(pel::com::kMaxRecordText + 10, 'x');
  const std::vector<uint8_t> bytes = EncodePropertyRecords({{PropertyRecord::kText, 0, text}});
  EXPECT_EQ(1 + 4 + pel::com::kMaxRecordText, bytes.size());
  const auto back = DecodePropertyRecords(bytes.data(), bytes.size());
  ASSERT_TRUE(back);
  EXPECT_EQ(pel::com::kMaxRecordText, (*back)[0].text.size());
}

}  // namespace
