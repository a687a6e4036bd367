// The pieces of the audio connection that need no peer: records, the address check, the stop
// event.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "audio/AudioRecord.h"
#include "audio/AudioUdpSocket.h"
#include "audio/AutoResetEvent.h"

namespace pel {
namespace {

std::string Text(const AudioRecord& record, size_t from, size_t count) {
  return std::string(reinterpret_cast<const char*>(record.data()) + from, count);
}

TEST(AudioRecord, LoginHoldsUserAndPasswordCutTo31) {
  const AudioRecord login = MakeLoginRecord("demo", "secret");
  EXPECT_EQ(login[0], 0x7E);
  EXPECT_EQ(login[1], 6);
  EXPECT_EQ(login[2], 0);
  EXPECT_EQ(login[3], 0);
  EXPECT_EQ(Text(login, 4, 32), std::string("demo") + std::string(28, '\0'));
  EXPECT_EQ(Text(login, 36, 32), std::string("secret") + std::string(26, '\0'));

  const std::string longUser(40, 'u');
  const std::string longPassword(32, 'p');
  const AudioRecord cut = MakeLoginRecord(longUser.c_str(), longPassword.c_str());
  EXPECT_EQ(Text(cut, 4, 32), std::string(31, 'u') + '\0');
  EXPECT_EQ(Text(cut, 36, 32), std::string(31, 'p') + '\0');

  const AudioRecord empty = MakeLoginRecord(nullptr, "");
  EXPECT_EQ(Text(empty, 2, 66), std::string(66, '\0'));
}

TEST(AudioRecord, LogoutIsMarkKindAndZeros) {
  const AudioRecord logout = MakeLogoutRecord();
  EXPECT_EQ(logout[0], 0x7E);
  EXPECT_EQ(logout[1], 3);
  EXPECT_EQ(Text(logout, 2, 66), std::string(66, '\0'));
}

TEST(ParseDottedIpv4, OnlyFourDecimalNumbers) {
  in_addr address{};
  ASSERT_TRUE(ParseDottedIpv4("192.168.10.254", &address));
  const auto* bytes = reinterpret_cast<const uint8_t*>(&address.s_addr);
  EXPECT_EQ(bytes[0], 192);
  EXPECT_EQ(bytes[1], 168);
  EXPECT_EQ(bytes[2], 10);
  EXPECT_EQ(bytes[3], 254);
  for (const char* good : {"0.0.0.0", "127.0.0.1", "255.255.255.255", "10.0.100.9"}) {
    EXPECT_TRUE(ParseDottedIpv4(good, nullptr)) << good;
  }
  for (const char* bad : {"", "localhost", "127.0.0", "127.0.0.1.5", "256.0.0.1", "127.0.0.01",
                          "1.2.3.4 ", " 1.2.3.4", "1..2.3", "1.2.3.", ".1.2.3", "1.2.3.4444",
                          "0x7f.0.0.1", "1.2.3.-4", "127.000.000.0001"}) {
    EXPECT_FALSE(ParseDottedIpv4(bad, nullptr)) << bad;
  }
  EXPECT_FALSE(ParseDottedIpv4(nullptr, nullptr));
}

TEST(AutoResetEvent, OneSetLetsOneWaitThrough) {
  AutoResetEvent event;
  EXPECT_FALSE(event.Wait(0)) << "made non-signalled";
  event.Set();
  event.Set();
  EXPECT_TRUE(event.Wait(0));
  EXPECT_FALSE(event.Wait(20)) << "the first wait took the signal";
  event.Set();
  event.Reset();
  EXPECT_FALSE(event.Wait(0));
}

TEST(AutoResetEvent, WakesAWaiterOnAnotherThread) {
  // The waiter must not come back before the other thread set the event: order, not timing.
  AutoResetEvent event;
  std::atomic<bool> setCalled{false};
  std::thread setter([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    setCalled = true;
    event.Set();
  });
  EXPECT_TRUE(event.Wait(-1));
  EXPECT_TRUE(setCalled.load());
  setter.join();
}

}  // namespace
}  // namespace pel
