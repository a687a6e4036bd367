#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Common/SockUtil/sock_util.h"
#include "net/FindInBuffer.h"

namespace pel {
namespace {

std::string Base64(const std::string& plain) {
  std::vector<char> out(4 * ((plain.size() + 2) / 3) + 1, 'X');
  const int n = base64_encode(reinterpret_cast<const unsigned char*>(plain.data()), plain.size(),
                              out.data(), out.size());
  EXPECT_EQ(n, static_cast<int>(out.size() - 1));
  EXPECT_EQ(out.back(), '\0');
  return std::string(out.data());
}

TEST(Base64Encode, EncodesTheStandardTestVectors) {
  EXPECT_EQ(Base64("f"), "Zg==");
  EXPECT_EQ(Base64("fo"), "Zm8=");
  EXPECT_EQ(Base64("foo"), "Zm9v");
  EXPECT_EQ(Base64("foob"), "Zm9vYg==");
  EXPECT_EQ(Base64("fooba"), "Zm9vYmE=");
  EXPECT_EQ(Base64("foobar"), "Zm9vYmFy");
  EXPECT_EQ(Base64("Aladdin:open sesame"), "QWxhZGRpbjpvcGVuIHNlc2FtZQ==");
  EXPECT_EQ(Base64(std::string("\xFB\xFF\xBF", 3)), "+/+/");
  EXPECT_EQ(Base64(std::string("\0\0\0", 3)), "AAAA");
}

TEST(Base64Encode, RefusesAnEmptySourceWithEmptyText) {
  char out[8];
  std::memset(out, 'X', sizeof out);
  const unsigned char source[] = {'a'};
  EXPECT_EQ(base64_encode(source, 0, out, sizeof out), -1);
  EXPECT_EQ(out[0], '\0');
  EXPECT_EQ(base64_encode(nullptr, 3, out, sizeof out), -1);
  EXPECT_EQ(base64_encode(source, 1, nullptr, 8), -1);
}

TEST(Base64Encode, StaysInsideTheOutputArea) {
  const unsigned char source[] = {'a', 'b', 'c', 'd'};  // 8 characters of Base64
  char area[12];
  std::memset(area, '#', sizeof area);
  // Too small by one character: refused, the area cleared, nothing beyond it touched.
  EXPECT_EQ(base64_encode(source, sizeof source, area, 7), -1);
  EXPECT_EQ(std::string(area, 7), std::string(7, '\0'));
  EXPECT_EQ(std::string(area + 7, 5), "#####");
  // Exactly the text's size: written whole, without a terminator.
  std::memset(area, '#', sizeof area);
  EXPECT_EQ(base64_encode(source, sizeof source, area, 8), 8);
  EXPECT_EQ(std::string(area, 9), "YWJjZA==#");
  // Larger areas are cleared to their whole size first.
  std::memset(area, '#', sizeof area);
  EXPECT_EQ(base64_encode(source, sizeof source, area, 11), 8);
  EXPECT_EQ(std::string(area, 12), std::string("YWJjZA==\0\0\0#", 12));
}

TEST(MemFind, FindsTheFirstByteExactOccurrence) {
  const char buffer[] = "key=1&KEY=2&key=3";
  const size_t length = sizeof buffer - 1;
  EXPECT_EQ(mem_find(buffer, length, "key=", 4), buffer);
  EXPECT_EQ(mem_find(buffer, length, "KEY=", 4), buffer + 6);
  EXPECT_EQ(mem_find(buffer, length, "=3", 2), buffer + 15);
  EXPECT_EQ(mem_find(buffer, length, "y=1&K", 5), buffer + 2);
  EXPECT_EQ(mem_find(buffer, length, "Key", 3), nullptr);
  EXPECT_EQ(mem_find(buffer, length, "=4", 2), nullptr);
}

TEST(MemFind, OnlyMatchesPatternsLyingWhollyInsideTheLength) {
  const char buffer[] = "abcabd";
  EXPECT_EQ(mem_find(buffer, 5, "abd", 3), nullptr);
  EXPECT_EQ(mem_find(buffer, 6, "abd", 3), buffer + 3);
  EXPECT_EQ(mem_find(buffer, 2, "abc", 3), nullptr);
  EXPECT_EQ(mem_find(buffer, 6, "abcabd", 6), buffer);
  EXPECT_EQ(mem_find(buffer, 0, "", 0), nullptr);
  EXPECT_EQ(mem_find(buffer, 1, "", 0), buffer);
  EXPECT_EQ(mem_find(nullptr, 6, "a", 1), nullptr);
  EXPECT_EQ(mem_find(buffer, 6, nullptr, 0), nullptr);
}

TEST(MemFind, HandlesZeroBytesInBufferAndPattern) {
  const char buffer[] = {'a', '\0', 'b', '\0', 'c', '\0', 'd'};
  const char pattern[] = {'\0', 'd'};
  EXPECT_EQ(mem_find(buffer, sizeof buffer, pattern, sizeof pattern), buffer + 5);
  EXPECT_EQ(mem_find(buffer, sizeof buffer, "c", 1), buffer + 4);
}

TEST(FindInBuffer, SearchesTerminatedTextWithinTheGivenLength) {
  const char page[] = "HTTP/1.1 200 OK\r\n\r\nUDPPORT=32001&IsLimit=1";
  const size_t length = sizeof page - 1;
  EXPECT_EQ(FindInBuffer(page, "UDPPORT=", length), page + 19);
  EXPECT_EQ(FindInBuffer(page, "IsLimit=", length), page + 33);
  EXPECT_EQ(FindInBuffer(page, "islimit=", length), nullptr);
  EXPECT_EQ(FindInBuffer(page, "IsLimit=", 40), nullptr);
  EXPECT_EQ(FindInBuffer(page, "IsLimit=", 41), page + 33);
  EXPECT_EQ(FindInBuffer(page, "", length), page);
  EXPECT_EQ(FindInBuffer(page, "", 0), nullptr);
  EXPECT_EQ(FindInBuffer(page, nullptr, length), nullptr);
}

TEST(SockAddrToString, WritesDottedTextOnlyWhenItFits) {
  const unsigned char address[] = {192, 168, 1, 5};
  char area[32];
  EXPECT_EQ(sock_addr_to_string(address, area, sizeof area), area);
  EXPECT_STREQ(area, "192.168.1.5");

  const unsigned char widest[] = {255, 255, 255, 255};
  char exact[16];
  EXPECT_EQ(sock_addr_to_string(widest, exact, sizeof exact), exact);
  EXPECT_STREQ(exact, "255.255.255.255");

  char tooSmall[20];
  std::memset(tooSmall, '#', sizeof tooSmall);
  EXPECT_EQ(sock_addr_to_string(widest, tooSmall, 15), nullptr);
  EXPECT_EQ(tooSmall[0], '\0');
  EXPECT_EQ(std::string(tooSmall + 1, 19), std::string(19, '#'));
}

TEST(SockMakeAddr, ConvertsDottedTextAndResolvesNames) {
  sockaddr_in addr{};
  ASSERT_EQ(sock_make_addr("10.0.0.1", 8080, &addr), 0);
  EXPECT_EQ(addr.sin_family, AF_INET);
  EXPECT_EQ(ntohs(addr.sin_port), 8080);
  const auto* bytes = reinterpret_cast<const unsigned char*>(&addr.sin_addr);
  EXPECT_EQ(bytes[0], 10);
  EXPECT_EQ(bytes[3], 1);

  ASSERT_EQ(sock_make_addr("localhost", 65535, &addr), 0);
  EXPECT_EQ(ntohs(addr.sin_port), 65535);
  EXPECT_EQ(bytes[0], 127);

  EXPECT_EQ(sock_make_addr("10.0.0.256", 80, &addr), -1);
  EXPECT_EQ(sock_make_addr("", 80, &addr), -1);
  EXPECT_EQ(sock_make_addr("1.2.3", 80, &addr), -1);
  EXPECT_EQ(sock_make_addr(nullptr, 80, &addr), -1);
  EXPECT_EQ(sock_make_addr("10.0.0.1", 80, nullptr), -1);
}

}  // namespace
}  // namespace pel
