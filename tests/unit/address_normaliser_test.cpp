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

const std::string kBadUrl = "Bad URL format";
const std::string kBadProxyUrl = "Bad Web Proxy URL format";
const std::vector<std::string> kNoMessage;

class RecordedMessages : public IUserMessages {
 public:
  void ShowMessage(const std::string& text) override { texts.push_back(text); }
  std::vector<std::string> texts;
};

// Properties as they come out; `message` is the one message box expected, if any.
struct Outcome {
  std::string address;
  int port;
  std::string user = "old";
  std::string password = "oldpw";
  std::string message = "";
};

class AddressNormaliserTest : public ::testing::Test {
 protected:
  AddressNormaliserTest() {
    names_.Answer("camera", "10.20.30.40");
    props_.strUserID = "old";
    props_.strUserPWD = "oldpw";
  }

  // Normalises with a browser showing `pageUrl`; names resolve through the recording table.
  void Normalise(const std::string& pageUrl = "http://10.99.99.99/") {
    FakeHostBrowser browser = FakeHostBrowser::FromBytes(pageUrl);
    NormaliseAddresses(props_, &browser, proxy_, messages_, names_.AsResolver());
  }

  void ExpectServer(const Outcome& expected, const std::string& label) {
    EXPECT_EQ(props_.strIpAddr, expected.address) << label;
    EXPECT_EQ(props_.iHttpPort, expected.port) << label;
    EXPECT_EQ(props_.strUserID, expected.user) << label;
    EXPECT_EQ(props_.strUserPWD, expected.password) << label;
    EXPECT_EQ(messages_.texts, expected.message.empty()
                                   ? kNoMessage
                                   : std::vector<std::string>{expected.message})
        << label;
  }

  void Reset() {
    props_ = AddressProperties{};
    props_.strUserID = "old";
    props_.strUserPWD = "oldpw";
    messages_.texts.clear();
  }

  AddressProperties props_;
  FakeBrowserProxySetting proxy_;
  RecordedMessages messages_;
  RecordingResolver names_;
};

TEST_F(AddressNormaliserTest, ExplicitServerAddress) {
  struct Case {
    std::string address;
    int portBefore;
    Outcome expected;
  };
  const std::string host255 = "1" + std::string(254, '0');
  const Case cases[] = {
      {"http://192.168.0.10:8080/index.html", 80, {"192.168.0.10", 8080}},
      {"http://192.168.0.10:8080/index.html", 81, {"192.168.0.10", 81}},
      {"192.168.0.10", 80, {"192.168.0.10", 80}},
      {"192.168.0.10:", 80, {"192.168.0.10", 0}},
      {"viewer:letmein@192.168.0.10:8081", 80, {"192.168.0.10", 8081, "viewer", "letmein"}},
      {"viewer@192.168.0.10:8081", 80, {"192.168.0.10", 8081}},
      {":newpw@10.0.0.1", 80, {"10.0.0.1", 80, "old", "newpw"}},
      {"camera:82", 80, {"10.20.30.40", 82}},
      {"1nohost.invalid", 80, {"1nohost.invalid", 80}},
      {"https://192.168.0.10/index.html", 80, {"192.168.0.10", 443}},
      {":8000", 80, {"", 8000}},
      {"viewer:pw@", 80, {"", 80, "viewer", "pw"}},
      {std::string(40, 'u') + ":" + std::string(16, 'p') + "@" + host255 + ":65535", 80,
       {host255, 65535, std::string(40, 'u'), std::string(16, 'p')}},
      // Bad addresses: emptied, with a message.
      {"unknown:82", 80, {"", 80, "old", "oldpw", kBadUrl}},
      {"HTTP://192.168.0.10/", 80, {"", 80, "old", "oldpw", kBadUrl}},
      {"http://", 80, {"", 80, "old", "oldpw", kBadUrl}},
      {"http:///index.html", 80, {"", 80, "old", "oldpw", kBadUrl}},
      {"/index.html", 80, {"", 80, "old", "oldpw", kBadUrl}},
      {"http://" + std::string(256, '7') + ":81/", 80, {"", 80, "old", "oldpw", kBadUrl}},
      {std::string(40, 'u') + ":" + std::string(17, 'p') + "@10.0.0.1", 80,
       {"", 80, "old", "oldpw", kBadUrl}},
      {"10.0.0.1:123456", 80, {"", 80, "old", "oldpw", kBadUrl}},
  };
  for (const Case& c : cases) {
    Reset();
    props_.strIpAddr = c.address;
    props_.iHttpPort = c.portBefore;
    Normalise();
    ExpectServer(c.expected, c.address);
  }
  // An upper-case scheme is not stripped: it is a name.
  EXPECT_EQ(names_.asked(), (std::vector<std::string>{"camera", "unknown", "HTTP"}));
}

TEST_F(AddressNormaliserTest, ExplicitAddressDoesNotReadThePageUrl) {
  props_.strIpAddr = "10.0.0.1";
  FakeHostBrowser browser = FakeHostBrowser::FromBytes("http://10.0.0.2:81/");
  NormaliseServerAddress(props_, browser, messages_, names_.AsResolver());
  EXPECT_EQ(browser.calls(), 0);
  ExpectServer({"10.0.0.1", 80}, "explicit");
}

TEST_F(AddressNormaliserTest, AddressFromThePage) {
  struct Case {
    std::string url;
    int portBefore;
    Outcome expected;
  };
  // "http://" and 120 digits make 127 characters, all that is seen of a page URL.
  const std::string host120 = "1" + std::string(119, '2');
  const std::string host117 = "1" + std::string(116, '0');
  const Case cases[] = {
      {"http://192.168.0.10:81/live.html", 80, {"192.168.0.10", 81}},
      {"http://192.168.0.10:81/live.html", 8000, {"192.168.0.10", 8000}},
      {"http://op:pw@camera:8088", 80, {"10.20.30.40", 8088, "op", "pw"}},
      {"http://" + host120, 80, {host120, 80}},
      {"http://" + host120 + "3", 80, {host120, 80}},
      {"http://" + host120 + ":81" + std::string(70, '4') + "/x", 80, {host120, 80}},
      {"http://" + host117 + ":81999/", 80, {host117, 81}},
      {"https://192.168.0.10/", 80, {"192.168.0.10", 443}},
      // No usable page address: silently nothing.
      {"file:///C:/pages/live.html", 80, {"", 80}},
      {"HTTP://10.0.0.1/", 80, {"", 80}},
      {"", 80, {"", 80}},
      {"http://unknown/live.html", 80, {"", 80}},
      {"http:///live.html", 80, {"", 80}},
      {"http://", 80, {"", 80}},
      {"http://10.0.0.1:99999/", 80, {"", 80}},
  };
  for (const Case& c : cases) {
    Reset();
    props_.iHttpPort = c.portBefore;
    Normalise(c.url);
    ExpectServer(c.expected, c.url);
  }
}

TEST_F(AddressNormaliserTest, PageUrlTakesLowByteOfEachUnitAndEndsAtNul) {
  // U+0131 and U+0231 count as '1' and '1'; U+0100 has a zero low byte and ends the URL.
  std::u16string url = u"http://\u0131\u0231.0.0.9:8";
  url += u'\u0100';
  url += u"0/";
  FakeHostBrowser browser(url);
  NormaliseAddresses(props_, &browser, proxy_, messages_, names_.AsResolver());
  ExpectServer({"11.0.0.9", 8}, "wide URL");
}

TEST_F(AddressNormaliserTest, WithoutBrowserNothingChanges) {
  props_.strIpAddr = "http://192.168.0.10/";
  props_.strIpAddrProxy = "http://bad-name/";
  proxy_.Enable("http=10.0.0.1:3128");
  NormaliseAddresses(props_, nullptr, proxy_, messages_, names_.AsResolver());
  ExpectServer({"http://192.168.0.10/", 80}, "no browser");
  EXPECT_EQ(props_.strIpAddrProxy, "http://bad-name/");
  EXPECT_TRUE(proxy_.reads().empty());
  EXPECT_TRUE(names_.asked().empty());
}

TEST_F(AddressNormaliserTest, ExplicitProxy) {
  struct Case {
    std::string proxy;
    int portBefore;
    std::string expected;
    int expectedPort;
    std::vector<std::string> messages;
  };
  const Case cases[] = {
      {"10.0.0.1", 8080, "10.0.0.1", 80, {}},
      {"http://10.0.0.1:3128/", 3129, "10.0.0.1", 3129, {}},
      {"http://10.0.0.1:3128/", 8080, "10.0.0.1", 3128, {}},
      {"camera:8888", 8080, "10.20.30.40", 8888, {}},
      // Credentials in a proxy address are dropped, whatever their length.
      {std::string(300, 'u') + ":pw@10.0.0.2:3128", 8080, "10.0.0.2", 3128, {}},
      {"unknown:3128", 8080, "", 8080, {kBadProxyUrl}},
      {"http://", 8080, "", 8080, {kBadProxyUrl}},
  };
  // A bad explicit proxy does not fall back to the browser's setting.
  proxy_.Enable("http=10.0.0.9:3128");
  for (const Case& c : cases) {
    Reset();
    props_.strIpAddrProxy = c.proxy;
    props_.iHttpPortProxy = c.portBefore;
    Normalise();
    EXPECT_EQ(props_.strIpAddrProxy, c.expected) << c.proxy;
    EXPECT_EQ(props_.iHttpPortProxy, c.expectedPort) << c.proxy;
    EXPECT_EQ(messages_.texts, c.messages) << c.proxy;
    EXPECT_EQ(props_.strUserID, "old");
  }
  EXPECT_TRUE(proxy_.reads().empty());
}

TEST_F(AddressNormaliserTest, ServerIsNormalisedBeforeProxy) {
  props_.strIpAddr = "bad-server";
  props_.strIpAddrProxy = "bad-proxy";
  Normalise();
  EXPECT_EQ(names_.asked(), (std::vector<std::string>{"bad-server", "bad-proxy"}));
  EXPECT_EQ(messages_.texts, (std::vector<std::string>{kBadUrl, kBadProxyUrl}));
}

TEST_F(AddressNormaliserTest, ProxyFromBrowserSetting) {
  struct Case {
    std::string setting;
    std::string expected;
    int expectedPort;
  };
  // 127 characters and the NUL fill the 128-byte area exactly.
  const std::string fits = "ftp=" + std::string(100, 'f') + ";http=10.0.0.1:00003128";
  ASSERT_EQ(fits.size(), 127u);
  const Case cases[] = {
      {"http=10.0.0.1:3128;https=10.0.0.1:3129", "10.0.0.1", 3128},
      {"ftp=10.0.0.3:21;https=10.0.0.2:443;http=10.0.0.1:3128", "10.0.0.1", 3128},
      {"http=10.0.0.1;", "10.0.0.1", 80},  // the port is replaced whatever it was
      {"http=camera:8888", "10.20.30.40", 8888},
      {fits, "10.0.0.1", 3128},
      // No usable entry: no proxy.
      {"10.0.0.1:3128", "", 1234},
      {"https=10.0.0.1:3129", "", 1234},
      {"HTTP=10.0.0.1:3128", "", 1234},
      {"http=;https=10.0.0.1:3129", "", 1234},
      {"http=", "", 1234},
      {"", "", 1234},
      {"http=unknown:1", "", 1234},
      {fits + "9", "", 1234},  // 129 bytes with the NUL
      {"http=10.0.0.1:3128;" + std::string(300, 'x'), "", 1234},
  };
  for (const Case& c : cases) {
    Reset();
    props_.iHttpPortProxy = 1234;
    proxy_.Enable(c.setting);
    Normalise();
    EXPECT_EQ(props_.strIpAddrProxy, c.expected) << c.setting;
    EXPECT_EQ(props_.iHttpPortProxy, c.expectedPort) << c.setting;
    EXPECT_TRUE(messages_.texts.empty()) << c.setting;
  }
}

TEST_F(AddressNormaliserTest, DisabledBrowserProxyIsNotUsed) {
  proxy_.SetString(FakeBrowserProxySetting::kProxyServer, "http=10.0.0.1:3128");
  Normalise();  // no "ProxyEnable" at all
  for (std::uint32_t enable : {0u, 2u, 0x101u}) {
    proxy_.SetDword(FakeBrowserProxySetting::kProxyEnable, enable);
    Normalise();
  }
  EXPECT_EQ(props_.strIpAddrProxy, "");
  EXPECT_EQ(props_.iHttpPortProxy, 8080);
  EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(AddressNormaliserTest, PageAndBrowserProxyTogether) {
  proxy_.Enable("http=10.0.0.1:3128");
  Normalise("http://192.168.0.10:81/live.html");
  ExpectServer({"192.168.0.10", 81}, "page");
  EXPECT_EQ(props_.strIpAddrProxy, "10.0.0.1");
  EXPECT_EQ(props_.iHttpPortProxy, 3128);
  EXPECT_EQ(proxy_.reads(),
            (std::vector<std::string>{"ProxyEnable", "ProxyServer", "ProxyOverride"}));
}

TEST_F(AddressNormaliserTest, HttpsKeepsTheWrittenHostBesideTheAddress) {
  struct Case {
    std::string address;
    std::string page;
    int port;
    std::string tlsHost;
  };
  const Case cases[] = {
      {"https://op:pw@camera:8443/x", "", 8443, "camera"},
      {"https://10.20.30.40", "", 443, "10.20.30.40"},
      {"http://camera", "", 80, ""},
      {"", "https://camera/live.html", 443, "camera"},
  };
  for (const Case& c : cases) {
    Reset();
    props_.tlsHost = "stale";
    props_.strIpAddr = c.address;
    Normalise(c.page.empty() ? "file:///C:/page.html" : c.page);
    EXPECT_EQ(props_.iHttpPort, c.port) << c.address << c.page;
    EXPECT_EQ(props_.tlsHost, c.tlsHost) << c.address << c.page;
    EXPECT_EQ(props_.tlsAddress, c.tlsHost.empty() ? "" : "10.20.30.40") << c.address;
  }
  // A second start normalises the address the first made: it stays https.
  props_.strIpAddr = "https://camera";
  Normalise();
  Normalise();
  EXPECT_EQ(props_.tlsHost, "camera");
}

TEST_F(AddressNormaliserTest, BrowserProxyForHttpsAndTheBrowsersExceptions) {
  proxy_.Enable("http=10.0.0.1:3128;https=10.0.0.2:3129");
  props_.strIpAddr = "https://camera";
  Normalise();
  EXPECT_EQ(props_.strIpAddrProxy + ":" + std::to_string(props_.iHttpPortProxy), "10.0.0.2:3129");
  // Listed by its address: no browser proxy; a proxy the page wrote ignores the list.
  proxy_.SetString(FakeBrowserProxySetting::kProxyOverride, "x.example; 10.20.*");
  for (const std::string written : {"", "10.0.0.9"}) {
    Reset();
    props_.strIpAddr = "camera";
    props_.strIpAddrProxy = written;
    Normalise();
    EXPECT_EQ(props_.strIpAddrProxy, written);
  }
}

// Real name lookups, of loopback and of the reserved .invalid domain only.
TEST_F(AddressNormaliserTest, NamesResolveThroughThePlatform) {
  FakeHostBrowser browser = FakeHostBrowser::FromBytes("file:///C:/page.html");
  props_.strIpAddr = "http://localhost:8080/";
  props_.strIpAddrProxy = "localhost:3128";
  NormaliseAddresses(props_, &browser, proxy_, messages_);
  ExpectServer({"127.0.0.1", 8080}, "localhost");
  EXPECT_EQ(props_.strIpAddrProxy, "127.0.0.1");
  EXPECT_EQ(props_.iHttpPortProxy, 3128);

  Reset();
  props_.strIpAddr = "nohost.invalid";
  props_.strIpAddrProxy = "nohost.invalid:3128";
  NormaliseAddresses(props_, &browser, proxy_, messages_);
  EXPECT_EQ(props_.strIpAddr, "");
  EXPECT_EQ(props_.strIpAddrProxy, "");
  EXPECT_EQ(messages_.texts, (std::vector<std::string>{kBadUrl, kBadProxyUrl}));
}

}  // namespace
}  // namespace pel
