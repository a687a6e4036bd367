#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control/BrowserProxy.h"
#include "control/PageUrlHost.h"
#include "support/FakeBrowserPorts.h"

namespace pel {
namespace {

using test::FakeBrowserProxySetting;
using test::FakeHostBrowser;
using Setting = IBrowserProxySetting;

class ReadBrowserProxyTest : public ::testing::Test {
 protected:
  int Read(std::size_t size = kBrowserProxyAreaSize) {
    text_ = "stale";
    return ReadBrowserProxy(setting_, text_, size);
  }
  FakeBrowserProxySetting setting_;
  std::string text_;
};

TEST_F(ReadBrowserProxyTest, EnabledSettingIsRead) {
  setting_.Enable("http=10.0.0.1:3128");
  EXPECT_EQ(Read(), 1);
  EXPECT_EQ(text_, "http=10.0.0.1:3128");
  EXPECT_EQ(setting_.reads(), (std::vector<std::string>{"ProxyEnable", "ProxyServer"}));
}

TEST_F(ReadBrowserProxyTest, DisabledSettingIsNotEvenRead) {
  setting_.SetDword(Setting::kProxyEnable, 0);
  setting_.SetString(Setting::kProxyServer, "http=10.0.0.1:3128");
  EXPECT_EQ(Read(), 0);
  EXPECT_EQ(text_, "");
  EXPECT_EQ(setting_.reads(), std::vector<std::string>{"ProxyEnable"});
}

TEST_F(ReadBrowserProxyTest, EnableMustBeTheNumberOne) {
  setting_.SetString(Setting::kProxyServer, "http=10.0.0.1:3128");
  EXPECT_EQ(Read(), 0);  // missing
  setting_.SetString(Setting::kProxyEnable, "1");
  EXPECT_EQ(Read(), 0);
  setting_.SetRaw(Setting::kProxyEnable, Setting::kTypeDword, {1, 0, 0, 0, 0});
  EXPECT_EQ(Read(), 0);
  setting_.SetRaw(Setting::kProxyEnable, Setting::kTypeDword, {});
  EXPECT_EQ(Read(), 0);
  setting_.SetRaw(Setting::kProxyEnable, Setting::kTypeDword, {0, 0, 0, 1});
  EXPECT_EQ(Read(), 0);
  setting_.SetRaw(Setting::kProxyEnable, Setting::kTypeBinary, {1, 0, 0, 0});
  EXPECT_EQ(Read(), 1);
  setting_.SetRaw(Setting::kProxyEnable, Setting::kTypeBinary, {1});
  EXPECT_EQ(Read(), 1);
  setting_.SetDword(Setting::kProxyEnable, 1);
  EXPECT_EQ(Read(), 1);
}

TEST_F(ReadBrowserProxyTest, MissingOrNonTextServerFails) {
  setting_.SetDword(Setting::kProxyEnable, 1);
  EXPECT_EQ(Read(), 0);
  setting_.SetRaw(Setting::kProxyServer, Setting::kTypeDword, {10, 0, 0, 1});
  EXPECT_EQ(Read(), 0);
  setting_.SetRaw(Setting::kProxyServer, Setting::kTypeExpandString, {'a', '=', 'b', 0});
  EXPECT_EQ(Read(), 1);
  EXPECT_EQ(text_, "a=b");
}

TEST_F(ReadBrowserProxyTest, SettingMustFitTheAreaWithItsNul) {
  setting_.SetDword(Setting::kProxyEnable, 1);
  setting_.SetString(Setting::kProxyServer, std::string(127, 'a'));
  EXPECT_EQ(Read(), 1);
  EXPECT_EQ(text_, std::string(127, 'a'));
  setting_.SetString(Setting::kProxyServer, std::string(128, 'a'));
  EXPECT_EQ(Read(), 0);
  EXPECT_EQ(text_, "");
  // Stored without a NUL: 127 characters still leave room for one, 128 do not.
  setting_.SetString(Setting::kProxyServer, std::string(127, 'b'), false);
  EXPECT_EQ(Read(), 1);
  EXPECT_EQ(text_, std::string(127, 'b'));
  setting_.SetString(Setting::kProxyServer, std::string(128, 'b'), false);
  EXPECT_EQ(Read(), 0);
  setting_.SetString(Setting::kProxyServer, std::string(10, 'c'));
  EXPECT_EQ(Read(10), 0);
  EXPECT_EQ(Read(11), 1);
}

TEST_F(ReadBrowserProxyTest, TextEndsAtFirstNul) {
  setting_.SetDword(Setting::kProxyEnable, 1);
  setting_.SetRaw(Setting::kProxyServer, Setting::kTypeString,
                  {'h', 't', 't', 'p', '=', '1', 0, 'x', 'y', 0});
  EXPECT_EQ(Read(), 1);
  EXPECT_EQ(text_, "http=1");
}

TEST(GetHostFromPageUrlTest, HostUpToFirstSlash) {
  FakeHostBrowser browser = FakeHostBrowser::FromBytes("http://10.0.0.1:81/a/b.html");
  std::string host = "stale";
  EXPECT_EQ(GetHostFromPageUrl(&browser, host, 127), 1);
  EXPECT_EQ(host, "10.0.0.1:81");
}

TEST(GetHostFromPageUrlTest, HttpWithEmptyHost) {
  std::string host = "stale";
  for (const char* url : {"http://", "http:///x"}) {
    FakeHostBrowser browser = FakeHostBrowser::FromBytes(url);
    EXPECT_EQ(GetHostFromPageUrl(&browser, host, 127), 1) << url;
    EXPECT_EQ(host, "") << url;
  }
}

TEST(GetHostFromPageUrlTest, OtherSchemesAndCasesAnswerZero) {
  std::string host = "stale";
  for (const char* url : {"https://10.0.0.1/", "Http://10.0.0.1/", "http:/10.0.0.1", "http:",
                          "", " http://10.0.0.1/", "file:///c:/x.html"}) {
    FakeHostBrowser browser = FakeHostBrowser::FromBytes(url);
    EXPECT_EQ(GetHostFromPageUrl(&browser, host, 127), 0) << url;
    EXPECT_EQ(host, "") << url;
  }
}

TEST(GetHostFromPageUrlTest, NoBrowserAnswersZero) {
  std::string host = "stale";
  EXPECT_EQ(GetHostFromPageUrl(nullptr, host, 127), 0);
  EXPECT_EQ(host, "");
}

TEST(GetHostFromPageUrlTest, MaxCharsLimitsTheHost) {
  FakeHostBrowser browser = FakeHostBrowser::FromBytes("http://10.0.0.1:81/");
  std::string host;
  EXPECT_EQ(GetHostFromPageUrl(&browser, host, 4), 1);
  EXPECT_EQ(host, "10.0");
}

TEST(GetHostFromPageUrlTest, OnlyFirst127UnitsAreSeen) {
  std::string host;
  FakeHostBrowser longUrl = FakeHostBrowser::FromBytes("http://" + std::string(500, 'h'));
  EXPECT_EQ(GetHostFromPageUrl(&longUrl, host, 1000), 1);
  EXPECT_EQ(host, std::string(120, 'h'));
  // A prefix beyond the 127th unit is not seen at all.
  FakeHostBrowser late = FakeHostBrowser::FromBytes(std::string(127, ' ') + "http://10.0.0.1/");
  EXPECT_EQ(GetHostFromPageUrl(&late, host, 1000), 0);
}

TEST(GetHostFromPageUrlTest, LowBytesOfWideUnits) {
  // U+FF68 has the low byte 'h'; U+4E2F has '/'.
  std::string host;
  FakeHostBrowser wide(u"\uFF68ttp://ab\u4E2Fcd");
  EXPECT_EQ(GetHostFromPageUrl(&wide, host, 127), 1);
  EXPECT_EQ(host, "ab");
}

}  // namespace
}  // namespace pel
