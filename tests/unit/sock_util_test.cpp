#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Common/SockUtil/SocketHandle.h"
#include "Common/SockUtil/sock_util.h"
#include "net/FindInBuffer.h"
#include "support/HttpPeers.h"

#include <cerrno>

#ifdef _WIN32
#include <ws2tcpip.h>
constexpr int kRefused = WSAECONNREFUSED;
constexpr int kWouldBlock = WSAEWOULDBLOCK;
#else
constexpr int kRefused = ECONNREFUSED;
constexpr int kWouldBlock = EWOULDBLOCK;
#endif

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

SocketHandle NewTcpSocket() { return SocketHandle(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)); }

sockaddr_in Loopback(unsigned short port) {
  sockaddr_in addr{};
  EXPECT_EQ(sock_make_addr("127.0.0.1", port, &addr), 0);
  return addr;
}

// A socket connected to a kvsim scenario that has already been sent `request`.
SocketHandle Connected(const test::KvsimScenario& kvsim, const std::string& request) {
  SocketHandle sock = NewTcpSocket();
  const sockaddr_in addr = Loopback(kvsim.port());
  EXPECT_EQ(sock_connect_timeout(sock.ref(), &addr, 5), 0);
  EXPECT_EQ(sock_send_all(sock.get(), request.data(), static_cast<int>(request.size()), 0),
            static_cast<int>(request.size()));
  return sock;
}

const std::string kRequest = "GET /x HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
const std::string kResponse = "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello";
const std::string kScenario = "route *\nstatus 200 OK\nbody-repeat 1 hello\n";

class SockUtilNetwork : public ::testing::Test {
 protected:
  void SetUp() override { PEL_REQUIRE_PEER(test::KvsimControlPort(), "kvsim"); }
};

TEST(SockConnectTimeout, RefusedConnectFailsWithThePendingError) {
  // A bound socket that does not listen: connecting to its port is refused.
  SocketHandle bound = NewTcpSocket();
  sockaddr_in addr = Loopback(0);
  ASSERT_EQ(bind(bound.get(), reinterpret_cast<const sockaddr*>(&addr), sizeof addr), 0);
  socklen_t size = sizeof addr;
  ASSERT_EQ(getsockname(bound.get(), reinterpret_cast<sockaddr*>(&addr), &size), 0);

  SocketHandle sock = NewTcpSocket();
  ASSERT_TRUE(sock.valid());
  errno = 0;
  EXPECT_EQ(sock_connect_timeout(sock.ref(), &addr, 5), -1);
  EXPECT_EQ(errno, kRefused);
}

TEST(SockConnectTimeout, RefusesNoSocket) {
  sock_t none = SOCK_NONE;
  const sockaddr_in addr = Loopback(80);
  EXPECT_EQ(sock_connect_timeout(none, &addr, 1), -1);
  char byte = 0;
  EXPECT_EQ(sock_recv_timeout(none, &byte, 1, 0, 1), -1);
  EXPECT_EQ(sock_recv_all(none, &byte, 1, 0, 1), -1);
  EXPECT_EQ(none, SOCK_NONE);
  sock_close(none);  // nothing to do, and no crash
}

TEST_F(SockUtilNetwork, ExchangesARequestAndItsResponse) {
  test::KvsimScenario kvsim(kScenario);
  SocketHandle sock = Connected(kvsim, kRequest);
  std::vector<char> buffer(256, '\0');
  const int n = sock_recv_all(sock.ref(), buffer.data(), static_cast<int>(buffer.size()), 0, 5);
  ASSERT_EQ(n, static_cast<int>(kResponse.size()));  // kvsim closed after its answer
  EXPECT_EQ(std::string(buffer.data(), static_cast<size_t>(n)), kResponse);
  EXPECT_TRUE(sock.valid());
  const auto requests = kvsim.requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0], kRequest);
}

TEST_F(SockUtilNetwork, ReceivesNothingForNothing) {
  test::KvsimScenario kvsim(kScenario);
  SocketHandle sock = Connected(kvsim, kRequest);
  char byte = 0;
  EXPECT_EQ(sock_recv_all(sock.ref(), &byte, 0, 0, 5), 0);
  EXPECT_EQ(sock_send_all(sock.get(), &byte, 0, 0), 0);
  EXPECT_EQ(sock_send_all(sock.get(), &byte, -3, 0), -3);
  EXPECT_TRUE(sock.valid());
}

TEST_F(SockUtilNetwork, TimeOutClosesTheSocketAndStoresTheErrorNumber) {
  test::KvsimScenario kvsim("route *\nstatus 200 OK\nafter silent\n");
  SocketHandle sock = Connected(kvsim, kRequest);
  char buffer[16];
  errno = 0;
  EXPECT_EQ(sock_recv_timeout(sock.ref(), buffer, sizeof buffer, 0, 1), -1);
  EXPECT_EQ(errno, SOCK_ERR_TIMEOUT);
  EXPECT_FALSE(sock.valid());  // closed by the time-out, not to be closed again

  SocketHandle other = Connected(kvsim, kRequest);
  errno = 0;
  EXPECT_EQ(sock_recv_all(other.ref(), buffer, sizeof buffer, 0, 1), -1);
  EXPECT_EQ(errno, SOCK_ERR_TIMEOUT);
  EXPECT_FALSE(other.valid());
}

TEST_F(SockUtilNetwork, ReceiveAllReturnsWhatArrivedBeforeTheClose) {
  test::KvsimScenario kvsim(kScenario + "after early-close 10\n");
  SocketHandle sock = Connected(kvsim, kRequest);
  std::vector<char> buffer(100);
  ASSERT_EQ(sock_recv_all(sock.ref(), buffer.data(), 100, 0, 5), 10);
  EXPECT_EQ(std::string(buffer.data(), 10), kResponse.substr(0, 10));
}

TEST_F(SockUtilNetwork, ReceiveUntilStopsWhenEnoughArrivedOnAnOpenConnection) {
  test::KvsimScenario kvsim(kScenario + "after keep-open\n");
  SocketHandle sock = Connected(kvsim, kRequest);
  std::vector<char> buffer(256);
  const int n = sock_recv_until(sock.ref(), buffer.data(), 256, 0, 5, [&](int received) {
    return std::string(buffer.data(), static_cast<size_t>(received)).find("hello") !=
           std::string::npos;
  });
  ASSERT_EQ(n, static_cast<int>(kResponse.size()));
  EXPECT_EQ(std::string(buffer.data(), static_cast<size_t>(n)), kResponse);
  EXPECT_TRUE(sock.valid());
}

TEST_F(SockUtilNetwork, SwitchesBetweenBlockingAndNonBlockingMode) {
  test::KvsimScenario kvsim("route *\nstatus 200 OK\nafter silent\n");
  SocketHandle sock = Connected(kvsim, kRequest);
  char byte = 0;
  sock_set_blocking(sock.get(), 0);
  EXPECT_EQ(recv(sock.get(), &byte, 1, 0), -1);  // nothing there: fails at once
#ifdef _WIN32
  EXPECT_EQ(WSAGetLastError(), kWouldBlock);
#else
  EXPECT_TRUE(errno == kWouldBlock || errno == EAGAIN);
#endif
  sock_set_blocking(sock.get(), 1);
  EXPECT_EQ(sock_recv_timeout(sock.ref(), &byte, 1, 0, 0), -1);  // a zero wait times out
  EXPECT_EQ(errno, SOCK_ERR_TIMEOUT);
}

TEST(SocketHandle, OwnsOneSocketAtATime) {
  SocketHandle first = NewTcpSocket();
  ASSERT_TRUE(first.valid());
  const sock_t raw = first.get();
  SocketHandle second(std::move(first));
  EXPECT_FALSE(first.valid());
  EXPECT_EQ(second.get(), raw);
  SocketHandle third;
  third = std::move(second);
  EXPECT_EQ(third.get(), raw);
  EXPECT_FALSE(second.valid());
  const sock_t released = third.release();
  EXPECT_EQ(released, raw);
  EXPECT_FALSE(third.valid());
  third.reset(released);  // owned again, closed when third goes away
  EXPECT_EQ(third.get(), raw);
  third.reset();
  EXPECT_FALSE(third.valid());
}

}  // namespace
}  // namespace pel
