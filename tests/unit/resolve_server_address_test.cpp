#include <gtest/gtest.h>

#include <string>

#include "net/HostNameLookup.h"
#include "net/ResolveServerAddress.h"
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

bool operator==(const Result& a, const Result& b) {
  return a.code == b.code && a.host == b.host && a.port == b.port && a.user == b.user &&
         a.password == b.password;
}

std::ostream& operator<<(std::ostream& out, const Result& r) {
  return out << "{" << r.code << ", \"" << r.host << "\", " << r.port << ", \"" << r.user
             << "\", \"" << r.password << "\"}";
}

const Result kFailed{-1, "", 0, "", ""};

Result Resolve(std::string_view text, const NameResolver& resolve) {
  Result r;
  r.code = ResolveServerAddress(text, r.host, r.port, &r.user, &r.password, resolve);
  return r;
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

class ResolveServerAddressTest : public ::testing::Test {
 protected:
  Result Run(std::string_view text) { return Resolve(text, names_.AsResolver()); }
  RecordingResolver names_;
};

TEST_F(ResolveServerAddressTest, SplitsUserPasswordHostAndPort) {
  struct Case {
    std::string text;
    Result expected;
  };
  const Case cases[] = {
      {"192.168.0.10", {0, "192.168.0.10", 80, "", ""}},
      {"192.168.0.10:8080", {0, "192.168.0.10", 8080, "", ""}},
      {"192.168.0.10:", {0, "192.168.0.10", 0, "", ""}},
      // Port: blanks skipped, digits up to the first non-digit; a sign is not a digit.
      {"10.0.0.1: \t81", {0, "10.0.0.1", 81, "", ""}},
      {"10.0.0.1:82abc", {0, "10.0.0.1", 82, "", ""}},
      {"10.0.0.1:83:84", {0, "10.0.0.1", 83, "", ""}},
      {"10.0.0.1:0000000000000000000000000085", {0, "10.0.0.1", 85, "", ""}},
      {"10.0.0.1:-1", {0, "10.0.0.1", 0, "", ""}},
      {"10.0.0.1:65535", {0, "10.0.0.1", 65535, "", ""}},
      // Credentials only when the first ":" comes before the "@".
      {"joe:secret@10.1.2.3:8081", {0, "10.1.2.3", 8081, "joe", "secret"}},
      {"joe:a:b:c@10.1.2.3", {0, "10.1.2.3", 80, "joe", "a:b:c"}},
      {":@10.1.2.3", {0, "10.1.2.3", 80, "", ""}},
      {"joe@10.1.2.3:8081", {0, "10.1.2.3", 8081, "", ""}},
      {"u:p@1@2:81", {0, "1@2", 81, "u", "p"}},
      {"::::@@@@::::", {0, "@@@", 0, "", ":::"}},
      // An empty host part is no failure.
      {":8080", {0, "", 8080, "", ""}},
      {"joe:pw@", {0, "", 80, "joe", "pw"}},
      // Only IPv4: a bracketed IPv6 address falls apart at its first colon.
      {"[::1]:8080", {0, "[", 0, "", ""}},
      // Hosts not starting with an ASCII letter are taken as they stand.
      {"1nohost.invalid", {0, "1nohost.invalid", 80, "", ""}},
      {"_name", {0, "_name", 80, "", ""}},
      {"\xC3\xA9t\xC3\xA9", {0, "\xC3\xA9t\xC3\xA9", 80, "", ""}},
      {std::string("10.0.0.1\0:99", 12), {0, "10.0.0.1", 80, "", ""}},
      // Failures.
      {"", kFailed},
      {std::string("\0" "10.0.0.1", 9), kFailed},
      {"10.0.0.1:65536", kFailed},
      {"10.0.0.1:99999999999999999999999999999999", kFailed},
  };
  for (const Case& c : cases) EXPECT_EQ(Run(c.text), c.expected) << c.text;
  EXPECT_TRUE(names_.asked().empty());
}

TEST_F(ResolveServerAddressTest, LetterFirstHostsAreLookedUp) {
  names_.Answer("camera-one", "10.9.8.7");
  names_.Answer("Zeta", "10.0.0.26");
  EXPECT_EQ(Run("camera-one:8000"), (Result{0, "10.9.8.7", 8000, "", ""}));
  EXPECT_EQ(Run("op:pw@Zeta"), (Result{0, "10.0.0.26", 80, "op", "pw"}));
  EXPECT_EQ(Run("unknown-name:81"), kFailed);
  EXPECT_EQ(Run("u:p@b@c:81"), kFailed);  // everything after the first "@" is the host
  EXPECT_EQ(names_.asked(),
            (std::vector<std::string>{"camera-one", "Zeta", "unknown-name", "b@c"}));
  // Without a resolver no name resolves.
  EXPECT_EQ(Resolve("camera-one", NameResolver()), kFailed);
}

TEST_F(ResolveServerAddressTest, HostLengthLimit) {
  const std::string literal255 = "1" + std::string(254, '2');
  EXPECT_EQ(Run(literal255 + ":81"), (Result{0, literal255, 81, "", ""}));
  EXPECT_EQ(Run(literal255 + "3:81"), kFailed);
  EXPECT_EQ(Run(std::string(100000, '9')), kFailed);

  const std::string name255(255, 'a');
  names_.Answer(name255, "10.0.0.255");
  EXPECT_EQ(Run(name255).host, "10.0.0.255");
  EXPECT_EQ(Run(name255 + "a"), kFailed);
  EXPECT_EQ(names_.asked().size(), 1u);  // the overlong name never reached the lookup
}

TEST_F(ResolveServerAddressTest, CredentialLengthLimit) {
  const std::string user(30, 'u');
  EXPECT_EQ(Run(user + ":" + std::string(26, 'p') + "@10.0.0.1"),
            (Result{0, "10.0.0.1", 80, user, std::string(26, 'p')}));
  EXPECT_EQ(Run(user + ":" + std::string(27, 'p') + "@10.0.0.1"), kFailed);
  EXPECT_EQ(Run(std::string(57, 'u') + ":@10.0.0.1"), kFailed);
  EXPECT_EQ(Run(":" + std::string(57, 'p') + "@10.0.0.1"), kFailed);
  EXPECT_EQ(Run(std::string(5000, 'u') + ":" + std::string(5000, 'p') + "@10.0.0.1"), kFailed);

  // Credentials that are not asked for are not limited.
  std::string host;
  int port = 0;
  const std::string text = std::string(500, 'u') + ":" + std::string(500, 'p') + "@10.0.0.1:3128";
  EXPECT_EQ(ResolveServerAddress(text, host, port, nullptr, nullptr, names_.AsResolver()), 0);
  EXPECT_EQ(host, "10.0.0.1");
  EXPECT_EQ(port, 3128);
}

TEST_F(ResolveServerAddressTest, BinaryJunkWithoutNulIsTakenApart) {
  const std::string user = Junk(20, ":@", 1);
  const std::string password = Junk(30, "@", 2);         // colons allowed
  const std::string host = "\x01" + Junk(200, ":", 3);  // at signs allowed
  const Result r = Run(user + ":" + password + "@" + host + ":4321x" + Junk(100, "", 4));
  EXPECT_TRUE(r == (Result{0, host, 4321, user, password}));
  EXPECT_TRUE(names_.asked().empty());

  const std::string name = "Q" + Junk(200, ":@", 5);
  EXPECT_TRUE(Run(name + ":81") == kFailed);
  ASSERT_EQ(names_.asked().size(), 1u);
  EXPECT_TRUE(names_.asked()[0] == name);
}

// Real lookups through the platform's resolver; only loopback and the reserved .invalid domain.
TEST(HostNameLookupTest, LocalhostResolvesAndInvalidDomainDoesNot) {
  EXPECT_EQ(LookupHostIPv4("localhost"), std::optional<std::string>("127.0.0.1"));
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
