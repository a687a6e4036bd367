#include <gtest/gtest.h>

#include <string>

#include "control/HostNameLookup.h"
#include "control/ResolveServerAddress.h"
#include "support/RecordingResolver.h"

namespace pel {
namespace {

using test::RecordingResolver;

struct Result {
  int code = 99;
  std::string host = "unset";
  int port = -7;
  std::string user = "unset";
  std::string password = "unset";
};

Result Resolve(std::string_view text, const NameResolver& resolve) {
  Result r;
  r.code = ResolveServerAddress(text, r.host, r.port, &r.user, &r.password, resolve);
  return r;
}

class ResolveServerAddressTest : public ::testing::Test {
 protected:
  Result Run(std::string_view text) { return Resolve(text, names_.AsResolver()); }
  void ExpectFailure(std::string_view text) {
    const Result r = Run(text);
    EXPECT_EQ(r.code, -1) << text;
    EXPECT_EQ(r.host, "") << text;
    EXPECT_EQ(r.port, 0) << text;
    EXPECT_EQ(r.user, "") << text;
    EXPECT_EQ(r.password, "") << text;
  }
  RecordingResolver names_;
};

TEST_F(ResolveServerAddressTest, BareAddressTakesPort80) {
  const Result r = Run("192.168.0.10");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.host, "192.168.0.10");
  EXPECT_EQ(r.port, 80);
  EXPECT_EQ(r.user, "");
  EXPECT_EQ(r.password, "");
}

TEST_F(ResolveServerAddressTest, PortAfterColon) {
  EXPECT_EQ(Run("192.168.0.10:8080").port, 8080);
  EXPECT_EQ(Run("192.168.0.10:8080").host, "192.168.0.10");
}

TEST_F(ResolveServerAddressTest, ColonWithoutDigitsGivesPort0) {
  const Result r = Run("192.168.0.10:");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.host, "192.168.0.10");
  EXPECT_EQ(r.port, 0);
}

TEST_F(ResolveServerAddressTest, PortSkipsBlanksAndStopsAtFirstNonDigit) {
  EXPECT_EQ(Run("10.0.0.1: \t81").port, 81);
  EXPECT_EQ(Run("10.0.0.1:82abc").port, 82);
  EXPECT_EQ(Run("10.0.0.1:83:84").port, 83);
  EXPECT_EQ(Run("10.0.0.1:0000000000000000000000000085").port, 85);
  // A sign is not a digit.
  EXPECT_EQ(Run("10.0.0.1:-1").port, 0);
  EXPECT_EQ(Run("10.0.0.1:+1").port, 0);
}

TEST_F(ResolveServerAddressTest, PortAboveLargestIsRefusedNotWrapped) {
  EXPECT_EQ(Run("10.0.0.1:65535").port, 65535);
  ExpectFailure("10.0.0.1:65536");
  ExpectFailure("10.0.0.1:99999999999999999999999999999999");
}

TEST_F(ResolveServerAddressTest, CredentialsBeforeAt) {
  const Result r = Run("joe:secret@10.1.2.3:8081");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.user, "joe");
  EXPECT_EQ(r.password, "secret");
  EXPECT_EQ(r.host, "10.1.2.3");
  EXPECT_EQ(r.port, 8081);
}

TEST_F(ResolveServerAddressTest, PasswordMayHoldColons) {
  const Result r = Run("joe:a:b:c@10.1.2.3:8081");
  EXPECT_EQ(r.user, "joe");
  EXPECT_EQ(r.password, "a:b:c");
  EXPECT_EQ(r.port, 8081);
}

TEST_F(ResolveServerAddressTest, EmptyUserAndPassword) {
  const Result r = Run(":@10.1.2.3");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.user, "");
  EXPECT_EQ(r.password, "");
  EXPECT_EQ(r.host, "10.1.2.3");
}

TEST_F(ResolveServerAddressTest, AtWithoutColonBeforeItDropsWhatPrecedes) {
  Result r = Run("joe@10.1.2.3:8081");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.user, "");
  EXPECT_EQ(r.password, "");
  EXPECT_EQ(r.host, "10.1.2.3");
  EXPECT_EQ(r.port, 8081);
  r = Run("joe@10.1.2.3");
  EXPECT_EQ(r.port, 80);
}

TEST_F(ResolveServerAddressTest, OnlyTheFirstAtSplits) {
  // The rest, "b@c", is the host: it starts with a letter, so it is looked up.
  ExpectFailure("u:p@b@c:81");
  ASSERT_EQ(names_.asked().size(), 1u);
  EXPECT_EQ(names_.asked()[0], "b@c");
  const Result r = Run("u:p@1@2:81");
  EXPECT_EQ(r.host, "1@2");
  EXPECT_EQ(r.port, 81);
  EXPECT_EQ(r.user, "u");
  EXPECT_EQ(r.password, "p");
}

TEST_F(ResolveServerAddressTest, ManyAtsAndColons) {
  const Result r = Run("::::@@@@::::");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.user, "");
  EXPECT_EQ(r.password, ":::");
  EXPECT_EQ(r.host, "@@@");
  EXPECT_EQ(r.port, 0);
  EXPECT_TRUE(names_.asked().empty());
}

TEST_F(ResolveServerAddressTest, EmptyHostPartSucceedsEmpty) {
  Result r = Run(":8080");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.host, "");
  EXPECT_EQ(r.port, 8080);
  r = Run("joe:pw@");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.host, "");
  EXPECT_EQ(r.port, 80);
  EXPECT_EQ(r.user, "joe");
  EXPECT_TRUE(names_.asked().empty());
}

TEST_F(ResolveServerAddressTest, EmptyTextFails) {
  ExpectFailure("");
  ExpectFailure(std::string_view());
}

TEST_F(ResolveServerAddressTest, TextEndsAtFirstNul) {
  const Result r = Run(std::string_view("10.0.0.1\0:99", 12));
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.host, "10.0.0.1");
  EXPECT_EQ(r.port, 80);
  ExpectFailure(std::string_view("\0" "10.0.0.1", 9));
}

TEST_F(ResolveServerAddressTest, LetterFirstHostIsResolvedToItsAnswer) {
  names_.Answer("camera-one", "10.9.8.7");
  const Result r = Run("camera-one:8000");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.host, "10.9.8.7");
  EXPECT_EQ(r.port, 8000);
  ASSERT_EQ(names_.asked().size(), 1u);
  EXPECT_EQ(names_.asked()[0], "camera-one");
}

TEST_F(ResolveServerAddressTest, UpperCaseLetterAlsoMakesAName) {
  names_.Answer("Zeta", "10.0.0.26");
  EXPECT_EQ(Run("Zeta").host, "10.0.0.26");
}

TEST_F(ResolveServerAddressTest, NameThatDoesNotResolveFails) {
  ExpectFailure("unknown-name:81");
  EXPECT_EQ(names_.asked().size(), 1u);
}

TEST_F(ResolveServerAddressTest, NonLetterFirstHostIsNeverLookedUp) {
  for (const char* text : {"1nohost.invalid", "-name", "_name", "\xC3\xA9t\xC3\xA9", "0x7f.1"}) {
    const Result r = Run(text);
    EXPECT_EQ(r.code, 0) << text;
    EXPECT_EQ(r.host, text);
  }
  EXPECT_TRUE(names_.asked().empty());
}

TEST_F(ResolveServerAddressTest, BracketedIPv6IsNotUnderstood) {
  const Result r = Run("[::1]:8080");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.host, "[");
  EXPECT_EQ(r.port, 0);
}

TEST_F(ResolveServerAddressTest, HostLengthLimit) {
  const std::string literal255 = "1" + std::string(254, '2');
  const Result r = Run(literal255 + ":81");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.host, literal255);
  ExpectFailure(literal255 + "3:81");
  ExpectFailure(std::string(100000, '9'));

  const std::string name255(255, 'a');
  names_.Answer(name255, "10.0.0.255");
  EXPECT_EQ(Run(name255).host, "10.0.0.255");
  ExpectFailure(name255 + "a");
  // The overlong name never reached the lookup.
  EXPECT_EQ(names_.asked().size(), 1u);
}

TEST_F(ResolveServerAddressTest, CredentialLengthLimit) {
  const std::string user(30, 'u');
  const Result r = Run(user + ":" + std::string(26, 'p') + "@10.0.0.1");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.user, user);
  EXPECT_EQ(r.password, std::string(26, 'p'));
  ExpectFailure(user + ":" + std::string(27, 'p') + "@10.0.0.1");
  ExpectFailure(std::string(57, 'u') + ":@10.0.0.1");
  ExpectFailure(":" + std::string(57, 'p') + "@10.0.0.1");
  ExpectFailure(std::string(5000, 'u') + ":" + std::string(5000, 'p') + "@10.0.0.1");
}

TEST_F(ResolveServerAddressTest, LongCredentialsDoNotMatterWhenNotAskedFor) {
  std::string host;
  int port = 0;
  const std::string text = std::string(500, 'u') + ":" + std::string(500, 'p') + "@10.0.0.1:3128";
  EXPECT_EQ(ResolveServerAddress(text, host, port, nullptr, nullptr, names_.AsResolver()), 0);
  EXPECT_EQ(host, "10.0.0.1");
  EXPECT_EQ(port, 3128);
}

// Bytes 1 to 255 in a scrambled order, leaving out the given characters.
std::string Junk(std::size_t length, const std::string& without, unsigned seed) {
  std::string out;
  unsigned value = seed;
  while (out.size() < length) {
    value = value * 1103515245u + 12345u;
    const char c = static_cast<char>((value >> 16) % 255 + 1);
    if (without.find(c) == std::string::npos) out.push_back(c);
  }
  return out;
}

TEST_F(ResolveServerAddressTest, BinaryJunkWithoutNulIsTakenApart) {
  const std::string user = Junk(20, ":@", 1);
  const std::string password = Junk(30, "@", 2);  // colons allowed
  const std::string host = "\x01" + Junk(200, ":", 3);  // at signs allowed
  const std::string rest = Junk(100, "", 4);
  const Result r = Run(user + ":" + password + "@" + host + ":4321x" + rest);
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.user, user);
  EXPECT_EQ(r.password, password);
  EXPECT_EQ(r.host, host);
  EXPECT_EQ(r.port, 4321);
  EXPECT_TRUE(names_.asked().empty());

  // Junk starting with a letter is looked up as it stands.
  const std::string name = "Q" + Junk(200, ":@", 5);
  ExpectFailure(name + ":81");
  ASSERT_EQ(names_.asked().size(), 1u);
  EXPECT_TRUE(names_.asked()[0] == name);
}

TEST_F(ResolveServerAddressTest, NoResolverMeansNamesDoNotResolve) {
  Result r = Resolve("somename", NameResolver());
  EXPECT_EQ(r.code, -1);
  r = Resolve("10.0.0.1", NameResolver());
  EXPECT_EQ(r.code, 0);
}

// Real lookups through the platform's resolver; only loopback and the reserved .invalid domain.
TEST(HostNameLookupTest, LocalhostResolvesToLoopback) {
  EXPECT_EQ(LookupHostIPv4("localhost"), std::optional<std::string>("127.0.0.1"));
}

TEST(HostNameLookupTest, InvalidDomainDoesNotResolve) {
  EXPECT_EQ(LookupHostIPv4("nohost.invalid"), std::nullopt);
}

TEST(HostNameLookupTest, ResolveServerAddressUsesThePlatformLookupByDefault) {
  std::string host;
  int port = 0;
  std::string user;
  std::string password;
  EXPECT_EQ(ResolveServerAddress("admin:pw@localhost:8080", host, port, &user, &password), 0);
  EXPECT_EQ(host, "127.0.0.1");
  EXPECT_EQ(port, 8080);
  EXPECT_EQ(user, "admin");
  EXPECT_EQ(password, "pw");
  EXPECT_EQ(ResolveServerAddress("nohost.invalid:8080", host, port), -1);
  EXPECT_EQ(host, "");
}

}  // namespace
}  // namespace pel
