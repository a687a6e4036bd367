// pelprobe's JSON writer: string escaping of any bytes, numbers, nesting and layout; what it
// writes is read back by an independent reader.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "pelprobe/JsonWriter.h"
#include "support/JsonReader.h"

namespace pel::probe {
namespace {

using test::JsonValue;
using test::ParseJson;

TEST(PelprobeJsonString, EscapesQuotesBackslashesAndControlCharacters) {
  EXPECT_EQ(JsonString(""), "\"\"");
  EXPECT_EQ(JsonString("a\"b\\c/d"), "\"a\\\"b\\\\c/d\"");
  EXPECT_EQ(JsonString("\b\f\n\r\t"), "\"\\b\\f\\n\\r\\t\"");
  EXPECT_EQ(JsonString(std::string("\x00\x01\x1f\x7f", 4)), "\"\\u0000\\u0001\\u001F\x7f\"");
}

TEST(PelprobeJsonString, KeepsValidUtf8AndEscapesEveryOtherByte) {
  // Two-, three- and four-byte characters pass as they are.
  EXPECT_EQ(JsonString("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"), "\"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\"");
  // Latin-1 bytes, a stray continuation byte, overlong forms, a surrogate, a code point above
  // U+10FFFF and a sequence cut short by the end.
  EXPECT_EQ(JsonString("caf\xE9"), "\"caf\\u00E9\"");
  EXPECT_EQ(JsonString("\x80"), "\"\\u0080\"");
  EXPECT_EQ(JsonString("\xC0\xAF"), "\"\\u00C0\\u00AF\"");
  EXPECT_EQ(JsonString("\xE0\x80\xAF"), "\"\\u00E0\\u0080\\u00AF\"");
  EXPECT_EQ(JsonString("\xED\xA0\x80"), "\"\\u00ED\\u00A0\\u0080\"");
  EXPECT_EQ(JsonString("\xF4\x90\x80\x80"), "\"\\u00F4\\u0090\\u0080\\u0080\"");
  EXPECT_EQ(JsonString("x\xE2\x82"), "\"x\\u00E2\\u0082\"");
  // A broken sequence does not swallow the quote after it.
  EXPECT_EQ(JsonString("\xC3\""), "\"\\u00C3\\\"\"");
}

TEST(PelprobeJsonString, EveryByteValueReadsBackAsItsCodePoint) {
  for (int b = 0; b < 256; ++b) {
    const std::string one(1, static_cast<char>(b));
    const auto parsed = ParseJson(JsonString(one));
    ASSERT_TRUE(parsed) << "byte " << b;
    std::string expected;
    if (b < 0x80) {
      expected = one;
    } else {
      expected += static_cast<char>(0xC0 | (b >> 6));
      expected += static_cast<char>(0x80 | (b & 0x3F));
    }
    EXPECT_EQ(parsed->text, expected) << "byte " << b;
  }
}

TEST(PelprobeJsonWriter, WritesNestedValuesWithCommasAndLayout) {
  std::string out;
  JsonWriter json(out);
  json.BeginObject();
  json.Key("n").Int(-5);
  json.Key("u").Unsigned(std::numeric_limits<uint32_t>::max());
  json.Key("list").BeginArray(true).Int(1).Bool(false).Null().EndArray();
  json.Key("rows").BeginArray();
  json.BeginObject(true).Key("a").String("x").Key("b").Double(0.5).EndObject();
  json.BeginObject(true).EndObject();
  json.EndArray();
  json.Key("empty").BeginArray().EndArray();
  json.EndObject();
  EXPECT_EQ(out,
            "{\n"
            "  \"n\": -5,\n"
            "  \"u\": 4294967295,\n"
            "  \"list\": [1, false, null],\n"
            "  \"rows\": [\n"
            "    {\"a\": \"x\", \"b\": 0.5},\n"
            "    {}\n"
            "  ],\n"
            "  \"empty\": []\n"
            "}\n");
  const auto parsed = ParseJson(out);
  ASSERT_TRUE(parsed);
  EXPECT_EQ((*parsed)["u"].Int(), 4294967295LL);
  EXPECT_EQ((*parsed)["rows"][0]["a"].text, "x");
}

TEST(PelprobeJsonWriter, NumbersAtTheirLimitsAndNonFiniteDoubles) {
  std::string out;
  JsonWriter json(out);
  json.BeginArray(true)
      .Int(std::numeric_limits<int64_t>::min())
      .Unsigned(std::numeric_limits<uint64_t>::max())
      .Double(1e300)
      .Double(std::numeric_limits<double>::quiet_NaN())
      .Double(-std::numeric_limits<double>::infinity())
      .EndArray();
  EXPECT_EQ(out, "[-9223372036854775808, 18446744073709551615, 1.0000000000000001e+300, null, null]\n");
  ASSERT_TRUE(ParseJson(out));
}

TEST(PelprobeJsonWriter, KeysAreEscapedLikeStrings) {
  std::string out;
  JsonWriter json(out);
  json.BeginObject(true).Key("a\"\n\xFF").Int(1).EndObject();
  EXPECT_EQ(out, "{\"a\\\"\\n\\u00FF\": 1}\n");
  const auto parsed = ParseJson(out);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->Keys(), std::vector<std::string>{"a\"\n\xC3\xBF"});
}

}  // namespace
}  // namespace pel::probe
