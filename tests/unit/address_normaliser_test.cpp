#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control/AddressNormaliser.h"
#include "support/FakeBrowserPorts.h"
#include "support/RecordingResolver.h"

namespace pel {
namespace {

using test::FakeBrowserProxySetting;
using test::FakeHostBrowser;
using test::RecordingResolver;

const char kBadUrl[] = "Bad URL format";
const char kBadProxyUrl[] = "Bad Web Proxy URL format";

class RecordedMessages : public IUserMessages {
 public:
  void ShowMessage(const std::string& text) override { texts.push_back(text); }
  std::vector<std::string> texts;
};

class AddressNormaliserTest : public ::testing::Test {
 protected:
  // Normalises with a browser showing `pageUrl`; names resolve through the recording table.
  void Normalise(const std::string& pageUrl = "http://10.99.99.99/") {
    FakeHostBrowser browser = FakeHostBrowser::FromBytes(pageUrl);
    NormaliseAddresses(props_, &browser, proxy_, messages_, names_.AsResolver());
  }
  void NormaliseWithRealLookup(const std::string& pageUrl = "file:///C:/page.html") {
    FakeHostBrowser browser = FakeHostBrowser::FromBytes(pageUrl);
    NormaliseAddresses(props_, &browser, proxy_, messages_);
  }

  AddressProperties props_;
  FakeBrowserProxySetting proxy_;
  RecordedMessages messages_;
  RecordingResolver names_;
};

// --- the server address given by the container ---

TEST_F(AddressNormaliserTest, HttpUrlIsStrippedToAddressAndPort) {
  props_.strIpAddr = "http://192.168.0.10:8080/index.html";
  Normalise();
  EXPECT_EQ(props_.strIpAddr, "192.168.0.10");
  EXPECT_EQ(props_.iHttpPort, 8080);
  EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(AddressNormaliserTest, PortPropertyOtherThan80IsKept) {
  props_.strIpAddr = "http://192.168.0.10:8080/index.html";
  props_.iHttpPort = 81;
  Normalise();
  EXPECT_EQ(props_.strIpAddr, "192.168.0.10");
  EXPECT_EQ(props_.iHttpPort, 81);
}

TEST_F(AddressNormaliserTest, BareAddressGivesPort80AndColonAloneGivesPort0) {
  props_.strIpAddr = "192.168.0.10";
  props_.iHttpPort = 80;
  Normalise();
  EXPECT_EQ(props_.iHttpPort, 80);
  props_.strIpAddr = "192.168.0.10:";
  Normalise();
  EXPECT_EQ(props_.strIpAddr, "192.168.0.10");
  EXPECT_EQ(props_.iHttpPort, 0);
  EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(AddressNormaliserTest, CredentialsInAddressOverrideProperties) {
  props_.strIpAddr = "viewer:letmein@192.168.0.10:8081";
  props_.strUserID = "old";
  props_.strUserPWD = "oldpw";
  Normalise();
  EXPECT_EQ(props_.strIpAddr, "192.168.0.10");
  EXPECT_EQ(props_.iHttpPort, 8081);
  EXPECT_EQ(props_.strUserID, "viewer");
  EXPECT_EQ(props_.strUserPWD, "letmein");
}

TEST_F(AddressNormaliserTest, AtWithoutColonKeepsCredentialProperties) {
  props_.strIpAddr = "viewer@192.168.0.10:8081";
  props_.strUserID = "old";
  props_.strUserPWD = "oldpw";
  Normalise();
  EXPECT_EQ(props_.strIpAddr, "192.168.0.10");
  EXPECT_EQ(props_.strUserID, "old");
  EXPECT_EQ(props_.strUserPWD, "oldpw");
}

TEST_F(AddressNormaliserTest, EmptyUserOrPasswordInAddressKeepsThatProperty) {
  props_.strIpAddr = ":newpw@10.0.0.1";
  props_.strUserID = "old";
  props_.strUserPWD = "oldpw";
  Normalise();
  EXPECT_EQ(props_.strUserID, "old");
  EXPECT_EQ(props_.strUserPWD, "newpw");
}

TEST_F(AddressNormaliserTest, HostNameIsReplacedByItsAddress) {
  names_.Answer("camera", "10.20.30.40");
  props_.strIpAddr = "camera:82";
  Normalise();
  EXPECT_EQ(props_.strIpAddr, "10.20.30.40");
  EXPECT_EQ(props_.iHttpPort, 82);
}

TEST_F(AddressNormaliserTest, UnresolvableNameEmptiesAddressWithMessage) {
  props_.strIpAddr = "camera:82";
  props_.strUserID = "keep";
  Normalise();
  EXPECT_EQ(props_.strIpAddr, "");
  EXPECT_EQ(props_.iHttpPort, 80);
  EXPECT_EQ(props_.strUserID, "keep");
  EXPECT_EQ(messages_.texts, std::vector<std::string>{kBadUrl});
}

TEST_F(AddressNormaliserTest, DigitFirstHostIsTakenLiterally) {
  props_.strIpAddr = "1nohost.invalid";
  Normalise();
  EXPECT_EQ(props_.strIpAddr, "1nohost.invalid");
  EXPECT_TRUE(names_.asked().empty());
  EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(AddressNormaliserTest, EmptyHostPartEmptiesAddressSilently) {
  props_.strIpAddr = ":8000";
  Normalise();
  EXPECT_EQ(props_.strIpAddr, "");
  EXPECT_EQ(props_.iHttpPort, 8000);
  EXPECT_TRUE(messages_.texts.empty());
  props_.strIpAddr = "viewer:pw@";
  Normalise();
  EXPECT_EQ(props_.strIpAddr, "");
  EXPECT_EQ(props_.strUserID, "viewer");
  EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(AddressNormaliserTest, HttpsUrlIsCutToSchemeAndLookedUp) {
  props_.strIpAddr = "https://192.168.0.10/index.html";
  Normalise();
  EXPECT_EQ(names_.asked(), std::vector<std::string>{"https"});
  EXPECT_EQ(props_.strIpAddr, "");
  EXPECT_EQ(messages_.texts, std::vector<std::string>{kBadUrl});
}

TEST_F(AddressNormaliserTest, UpperCaseSchemeIsNotStripped) {
  props_.strIpAddr = "HTTP://192.168.0.10/";
  Normalise();
  EXPECT_EQ(names_.asked(), std::vector<std::string>{"HTTP"});
  EXPECT_EQ(messages_.texts, std::vector<std::string>{kBadUrl});
}

TEST_F(AddressNormaliserTest, SchemeAloneIsABadAddress) {
  for (const char* text : {"http://", "http:///index.html", "/index.html"}) {
    props_.strIpAddr = text;
    messages_.texts.clear();
    Normalise();
    EXPECT_EQ(props_.strIpAddr, "") << text;
    EXPECT_EQ(messages_.texts, std::vector<std::string>{kBadUrl}) << text;
  }
}

TEST_F(AddressNormaliserTest, OverlongPartsAreBadAddresses) {
  props_.strIpAddr = "http://" + std::string(256, '7') + ":81/";
  Normalise();
  EXPECT_EQ(props_.strIpAddr, "");
  EXPECT_EQ(props_.iHttpPort, 80);

  props_.strIpAddr = std::string(40, 'u') + ":" + std::string(17, 'p') + "@10.0.0.1";
  Normalise();
  EXPECT_EQ(props_.strIpAddr, "");
  EXPECT_EQ(props_.strUserID, "");

  props_.strIpAddr = "10.0.0.1:123456";
  Normalise();
  EXPECT_EQ(props_.strIpAddr, "");
  EXPECT_EQ(messages_.texts, std::vector<std::string>(3, kBadUrl));
}

TEST_F(AddressNormaliserTest, LongestAcceptedPartsPass) {
  const std::string host = "1" + std::string(254, '0');
  props_.strIpAddr = std::string(40, 'u') + ":" + std::string(16, 'p') + "@" + host + ":65535";
  Normalise();
  EXPECT_EQ(props_.strIpAddr, host);
  EXPECT_EQ(props_.iHttpPort, 65535);
  EXPECT_EQ(props_.strUserID, std::string(40, 'u'));
  EXPECT_EQ(props_.strUserPWD, std::string(16, 'p'));
  EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(AddressNormaliserTest, ExplicitAddressDoesNotReadThePageUrl) {
  props_.strIpAddr = "10.0.0.1";
  FakeHostBrowser browser = FakeHostBrowser::FromBytes("http://10.0.0.2:81/");
  NormaliseServerAddress(props_, browser, messages_, names_.AsResolver());
  EXPECT_EQ(browser.calls(), 0);
  EXPECT_EQ(props_.strIpAddr, "10.0.0.1");
  EXPECT_EQ(props_.iHttpPort, 80);
}

// --- the server address taken from the hosting page ---

TEST_F(AddressNormaliserTest, EmptyAddressTakesPageHostAndPort) {
  Normalise("http://192.168.0.10:81/live.html");
  EXPECT_EQ(props_.strIpAddr, "192.168.0.10");
  EXPECT_EQ(props_.iHttpPort, 81);
  EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(AddressNormaliserTest, PagePortDoesNotReplaceAChangedPortProperty) {
  props_.iHttpPort = 8000;
  Normalise("http://192.168.0.10:81/live.html");
  EXPECT_EQ(props_.strIpAddr, "192.168.0.10");
  EXPECT_EQ(props_.iHttpPort, 8000);
}

TEST_F(AddressNormaliserTest, PageCredentialsAndNameAreUsed) {
  names_.Answer("dvr", "10.1.1.1");
  Normalise("http://op:pw@dvr:8088");
  EXPECT_EQ(props_.strIpAddr, "10.1.1.1");
  EXPECT_EQ(props_.iHttpPort, 8088);
  EXPECT_EQ(props_.strUserID, "op");
  EXPECT_EQ(props_.strUserPWD, "pw");
}

TEST_F(AddressNormaliserTest, FileOrOtherPageLeavesAddressEmptySilently) {
  for (const char* url : {"file:///C:/pages/live.html", "https://192.168.0.10/", "HTTP://10.0.0.1/",
                          "", "about:blank"}) {
    Normalise(url);
    EXPECT_EQ(props_.strIpAddr, "") << url;
    EXPECT_EQ(props_.iHttpPort, 80) << url;
  }
  EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(AddressNormaliserTest, BadPageAddressIsSilent) {
  Normalise("http://unknown-dvr/live.html");
  EXPECT_EQ(names_.asked(), std::vector<std::string>{"unknown-dvr"});
  Normalise("http:///live.html");
  Normalise("http://");
  Normalise("http://10.0.0.1:99999/");
  EXPECT_EQ(props_.strIpAddr, "");
  EXPECT_EQ(props_.iHttpPort, 80);
  EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(AddressNormaliserTest, OnlyThe127FirstCharactersOfThePageUrlCount) {
  // "http://" and 120 digits are 127 characters: all of the host survives.
  const std::string host120 = "1" + std::string(119, '2');
  Normalise("http://" + host120);
  EXPECT_EQ(props_.strIpAddr, host120);

  props_.strIpAddr.clear();
  Normalise("http://" + host120 + "3");  // 128 characters: the last one is not seen
  EXPECT_EQ(props_.strIpAddr, host120);

  props_.strIpAddr.clear();
  Normalise("http://" + host120 + ":81" + std::string(70, '4') + "/x");  // 200 characters
  EXPECT_EQ(props_.strIpAddr, host120);
  EXPECT_EQ(props_.iHttpPort, 80);
}

TEST_F(AddressNormaliserTest, PortCutOffAtCharacter127) {
  // The port's digits are characters 126 and 127 and run on beyond: only "81" is seen.
  const std::string host = "1" + std::string(116, '0');
  Normalise("http://" + host + ":81" + "999/");
  EXPECT_EQ(props_.strIpAddr, host);
  EXPECT_EQ(props_.iHttpPort, 81);
}

TEST_F(AddressNormaliserTest, PageUrlTakesLowByteOfEachUnitAndEndsAtNul) {
  // U+0131 and U+0231 count as '1' and '1'; U+0100 has a zero low byte and ends the URL.
  std::u16string url = u"http://\u0131\u0231.0.0.9:8";
  url += u'\u0100';
  url += u"0/";
  FakeHostBrowser browser(url);
  NormaliseAddresses(props_, &browser, proxy_, messages_, names_.AsResolver());
  EXPECT_EQ(props_.strIpAddr, "11.0.0.9");
  EXPECT_EQ(props_.iHttpPort, 8);
}

// --- no hosting browser ---

TEST_F(AddressNormaliserTest, WithoutBrowserNothingChanges) {
  props_.strIpAddr = "http://192.168.0.10/";
  props_.strIpAddrProxy = "http://bad-name/";
  NormaliseAddresses(props_, nullptr, proxy_, messages_, names_.AsResolver());
  EXPECT_EQ(props_.strIpAddr, "http://192.168.0.10/");
  EXPECT_EQ(props_.strIpAddrProxy, "http://bad-name/");
  EXPECT_EQ(props_.iHttpPort, 80);
  EXPECT_TRUE(messages_.texts.empty());
  EXPECT_TRUE(proxy_.reads().empty());
  EXPECT_TRUE(names_.asked().empty());
}

// --- the proxy given by the container ---

TEST_F(AddressNormaliserTest, ExplicitProxyWithDefaultPortTakesPort80) {
  props_.strIpAddrProxy = "10.0.0.1";
  Normalise();
  EXPECT_EQ(props_.strIpAddrProxy, "10.0.0.1");
  EXPECT_EQ(props_.iHttpPortProxy, 80);
  EXPECT_TRUE(proxy_.reads().empty());
}

TEST_F(AddressNormaliserTest, ExplicitProxyUrlAndChangedPortProperty) {
  props_.strIpAddrProxy = "http://10.0.0.1:3128/";
  props_.iHttpPortProxy = 3129;
  Normalise();
  EXPECT_EQ(props_.strIpAddrProxy, "10.0.0.1");
  EXPECT_EQ(props_.iHttpPortProxy, 3129);
}

TEST_F(AddressNormaliserTest, ExplicitProxyCredentialsAreDropped) {
  props_.strIpAddrProxy = std::string(300, 'u') + ":pw@10.0.0.2:3128";
  props_.strUserID = "viewer";
  Normalise();
  EXPECT_EQ(props_.strIpAddrProxy, "10.0.0.2");
  EXPECT_EQ(props_.iHttpPortProxy, 3128);
  EXPECT_EQ(props_.strUserID, "viewer");
  EXPECT_EQ(props_.strUserPWD, "");
}

TEST_F(AddressNormaliserTest, BadExplicitProxyIsEmptiedWithMessage) {
  props_.strIpAddrProxy = "proxy.unknown:3128";
  Normalise();
  EXPECT_EQ(props_.strIpAddrProxy, "");
  EXPECT_EQ(props_.iHttpPortProxy, 8080);
  EXPECT_EQ(messages_.texts, std::vector<std::string>{kBadProxyUrl});
}

TEST_F(AddressNormaliserTest, BadExplicitProxyDoesNotFallBackToBrowserSetting) {
  proxy_.Enable("http=10.0.0.1:3128");
  props_.strIpAddrProxy = "http://";
  Normalise();
  EXPECT_EQ(props_.strIpAddrProxy, "");
  EXPECT_TRUE(proxy_.reads().empty());
  EXPECT_EQ(messages_.texts, std::vector<std::string>{kBadProxyUrl});
}

TEST_F(AddressNormaliserTest, ServerIsNormalisedBeforeProxy) {
  props_.strIpAddr = "bad-server";
  props_.strIpAddrProxy = "bad-proxy";
  Normalise();
  EXPECT_EQ(names_.asked(), (std::vector<std::string>{"bad-server", "bad-proxy"}));
  EXPECT_EQ(messages_.texts, (std::vector<std::string>{kBadUrl, kBadProxyUrl}));
}

// --- the proxy from the browser's setting ---

TEST_F(AddressNormaliserTest, BrowserProxyHttpEntry) {
  proxy_.Enable("http=10.0.0.1:3128;https=10.0.0.1:3129");
  Normalise();
  EXPECT_EQ(props_.strIpAddrProxy, "10.0.0.1");
  EXPECT_EQ(props_.iHttpPortProxy, 3128);
  EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(AddressNormaliserTest, BrowserProxyHttpEntryNotFirst) {
  proxy_.Enable("ftp=10.0.0.3:21;https=10.0.0.2:443;http=10.0.0.1:3128");
  Normalise();
  EXPECT_EQ(props_.strIpAddrProxy, "10.0.0.1");
  EXPECT_EQ(props_.iHttpPortProxy, 3128);
}

TEST_F(AddressNormaliserTest, BrowserProxyPortAlwaysReplaced) {
  props_.iHttpPortProxy = 1234;
  proxy_.Enable("http=10.0.0.1;");
  Normalise();
  EXPECT_EQ(props_.strIpAddrProxy, "10.0.0.1");
  EXPECT_EQ(props_.iHttpPortProxy, 80);
}

TEST_F(AddressNormaliserTest, BrowserProxyNameIsResolved) {
  names_.Answer("corp-proxy", "10.5.5.5");
  proxy_.Enable("http=corp-proxy:8888");
  Normalise();
  EXPECT_EQ(props_.strIpAddrProxy, "10.5.5.5");
  EXPECT_EQ(props_.iHttpPortProxy, 8888);
}

TEST_F(AddressNormaliserTest, BrowserProxyWithoutUsableHttpEntryGivesNoProxy) {
  for (const char* setting : {"10.0.0.1:3128", "https=10.0.0.1:3129", "HTTP=10.0.0.1:3128",
                              "http=;https=10.0.0.1:3129", "http=", "", "http=bad-name:1"}) {
    proxy_.Enable(setting);
    Normalise();
    EXPECT_EQ(props_.strIpAddrProxy, "") << setting;
    EXPECT_EQ(props_.iHttpPortProxy, 8080) << setting;
  }
  EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(AddressNormaliserTest, BrowserProxyDisabledOrMissingGivesNoProxy) {
  proxy_.SetString(FakeBrowserProxySetting::kProxyServer, "http=10.0.0.1:3128");
  Normalise();  // no "ProxyEnable" at all
  proxy_.SetDword(FakeBrowserProxySetting::kProxyEnable, 0);
  Normalise();
  proxy_.SetDword(FakeBrowserProxySetting::kProxyEnable, 2);
  Normalise();
  proxy_.SetDword(FakeBrowserProxySetting::kProxyEnable, 0x101);
  Normalise();
  EXPECT_EQ(props_.strIpAddrProxy, "");
  EXPECT_EQ(props_.iHttpPortProxy, 8080);
  EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(AddressNormaliserTest, BrowserProxySettingOfAreaSize) {
  // 127 characters and the NUL fill the 128-byte area exactly.
  const std::string head = "ftp=" + std::string(100, 'f') + ";http=10.0.0.1:";
  std::string setting = head + std::string(127 - head.size(), '0');
  setting.replace(setting.size() - 4, 4, "3128");
  ASSERT_EQ(setting.size(), 127u);
  proxy_.Enable(setting);
  Normalise();
  EXPECT_EQ(props_.strIpAddrProxy, "10.0.0.1");
  EXPECT_EQ(props_.iHttpPortProxy, 3128);

  props_ = AddressProperties{};
  proxy_.Enable(setting + "9");  // 129 bytes with the NUL: does not fit
  Normalise();
  EXPECT_EQ(props_.strIpAddrProxy, "");
  EXPECT_EQ(props_.iHttpPortProxy, 8080);

  proxy_.Enable("http=10.0.0.1:3128;" + std::string(300, 'x'));
  Normalise();
  EXPECT_EQ(props_.strIpAddrProxy, "");
}

TEST_F(AddressNormaliserTest, PageAndBrowserProxyTogether) {
  proxy_.Enable("http=10.0.0.1:3128");
  Normalise("http://192.168.0.10:81/live.html");
  EXPECT_EQ(props_.strIpAddr, "192.168.0.10");
  EXPECT_EQ(props_.iHttpPort, 81);
  EXPECT_EQ(props_.strIpAddrProxy, "10.0.0.1");
  EXPECT_EQ(props_.iHttpPortProxy, 3128);
  EXPECT_EQ(proxy_.reads(), (std::vector<std::string>{"ProxyEnable", "ProxyServer"}));
}

// --- real name lookups (loopback and the reserved .invalid domain only) ---

TEST_F(AddressNormaliserTest, LocalhostResolvesThroughThePlatform) {
  props_.strIpAddr = "http://localhost:8080/";
  props_.strIpAddrProxy = "localhost:3128";
  NormaliseWithRealLookup();
  EXPECT_EQ(props_.strIpAddr, "127.0.0.1");
  EXPECT_EQ(props_.iHttpPort, 8080);
  EXPECT_EQ(props_.strIpAddrProxy, "127.0.0.1");
  EXPECT_EQ(props_.iHttpPortProxy, 3128);
  EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(AddressNormaliserTest, InvalidDomainIsABadAddress) {
  props_.strIpAddr = "nohost.invalid";
  props_.strIpAddrProxy = "nohost.invalid:3128";
  NormaliseWithRealLookup();
  EXPECT_EQ(props_.strIpAddr, "");
  EXPECT_EQ(props_.strIpAddrProxy, "");
  EXPECT_EQ(messages_.texts, (std::vector<std::string>{kBadUrl, kBadProxyUrl}));
}

}  // namespace
}  // namespace pel
