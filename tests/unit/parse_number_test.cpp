#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "net/ParseNumber.h"

namespace pel {
namespace {

TEST(ParseNumber, ReadsDecimalAndHexadecimalValues) {
  EXPECT_EQ(ParseNumber("32001"), 32001);
  EXPECT_EQ(ParseNumber("0x1F"), 31);
  EXPECT_EQ(ParseNumber("0X1f"), 31);
  EXPECT_EQ(ParseNumber("0xDeadBeef"), static_cast<int32_t>(0xDEADBEEFu));
  EXPECT_EQ(ParseNumber("0x7fffffff"), INT32_MAX);
  EXPECT_EQ(ParseNumber("007"), 7);
}

TEST(ParseNumber, StopsAtTheFirstCharacterThatIsNoDigit) {
  EXPECT_EQ(ParseNumber("200 OK"), 200);
  EXPECT_EQ(ParseNumber("12&UDPPORT=9"), 12);
  EXPECT_EQ(ParseNumber("0x1Fg7"), 31);
  EXPECT_EQ(ParseNumber("1.5"), 1);
  EXPECT_EQ(ParseNumber("0x12 34"), 0x12);
}

TEST(ParseNumber, GivesZeroWithoutDigits) {
  EXPECT_EQ(ParseNumber(""), 0);
  EXPECT_EQ(ParseNumber("abc"), 0);
  EXPECT_EQ(ParseNumber("0x"), 0);
  EXPECT_EQ(ParseNumber("0xg1"), 0);
  EXPECT_EQ(ParseNumber("-"), 0);
  EXPECT_EQ(ParseNumber("  \r\n"), 0);
  EXPECT_EQ(ParseNumber(nullptr), 0);
  EXPECT_EQ(ParseNumber(nullptr, 10), 0);
}

TEST(ParseNumber, SkipsWhiteSpaceAndTakesASignBeforeDecimalDigitsOnly) {
  EXPECT_EQ(ParseNumber(" 31"), 31);
  EXPECT_EQ(ParseNumber("\t\n\v\f\r 31"), 31);
  EXPECT_EQ(ParseNumber("-17"), -17);
  EXPECT_EQ(ParseNumber("+17"), 17);
  EXPECT_EQ(ParseNumber(" -0"), 0);
  EXPECT_EQ(ParseNumber("- 5"), 0);       // no blank between sign and digits
  EXPECT_EQ(ParseNumber(" 0x1F"), 0);     // the hexadecimal prefix must come first
  EXPECT_EQ(ParseNumber("-0x1F"), 0);
  EXPECT_EQ(ParseNumber("--5"), 0);
}

TEST(ParseNumber, WrapsAroundIn32Bits) {
  EXPECT_EQ(ParseNumber("2147483647"), INT32_MAX);
  EXPECT_EQ(ParseNumber("2147483648"), INT32_MIN);
  EXPECT_EQ(ParseNumber("-2147483648"), INT32_MIN);
  EXPECT_EQ(ParseNumber("4294967295"), -1);
  EXPECT_EQ(ParseNumber("4294967296"), 0);
  EXPECT_EQ(ParseNumber("4294967297"), 1);
  EXPECT_EQ(ParseNumber("99999999999"), static_cast<int32_t>(99999999999LL & 0xFFFFFFFF));
  EXPECT_EQ(ParseNumber("0x100000001"), 1);
  EXPECT_EQ(ParseNumber("0xFFFFFFFF"), -1);
  EXPECT_EQ(ParseNumber("-4294967295"), 1);
}

TEST(ParseNumber, NeverReadsPastTheAvailableBytes) {
  // A page that fills its buffer exactly has no terminator: the number ends at the last byte.
  const std::string page = "UDPPORT=32001";
  const size_t at = page.find('=') + 1;
  std::string exact = page.substr(at);  // copied into an area of exactly its size
  auto area = std::make_unique<char[]>(exact.size());
  std::memcpy(area.get(), exact.data(), exact.size());
  EXPECT_EQ(ParseNumber(area.get(), exact.size()), 32001);
  EXPECT_EQ(ParseNumber(area.get(), 3), 320);
  EXPECT_EQ(ParseNumber(area.get(), 0), 0);

  const char hex[] = {'0', 'x', '1', 'F'};
  EXPECT_EQ(ParseNumber(hex, sizeof hex), 31);
  EXPECT_EQ(ParseNumber(hex, 3), 1);
  EXPECT_EQ(ParseNumber(hex, 2), 0);
  EXPECT_EQ(ParseNumber(hex, 1), 0);  // "0" alone, the x is beyond the end

  const char spaces[] = {' ', ' ', '-'};
  EXPECT_EQ(ParseNumber(spaces, sizeof spaces), 0);
  const char digitsAfter[] = {' ', '7', '9'};
  EXPECT_EQ(ParseNumber(digitsAfter, 2), 7);
}

}  // namespace
}  // namespace pel
