#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/HttpClient.h"
#include "support/HttpPeers.h"

namespace pel {
namespace {

using test::AuthorizationLine;
using test::ExpectedRequest;
using test::KvsimScenario;

constexpr char kPath[] = "/asp-get/kvsvrinf.asp";
constexpr char kLoopback[] = "127.0.0.1";

// A receive area followed by guard bytes that the client must never touch.
class Area {
 public:
  explicit Area(size_t size) : bytes_(size + kGuard, kFill), size_(size) {}
  char* data() { return bytes_.data(); }
  int size() const { return static_cast<int>(size_); }
  std::string first(int n) const { return std::string(bytes_.data(), static_cast<size_t>(n)); }
  char at(size_t i) const { return bytes_[i]; }
  bool guardIntact() const {
    for (size_t i = size_; i < bytes_.size(); ++i) {
      if (bytes_[i] != kFill) return false;
    }
    return true;
  }
  static constexpr char kFill = '~';

 private:
  static constexpr size_t kGuard = 16;
  std::vector<char> bytes_;
  size_t size_;
};

int Get(const KvsimScenario& kvsim, Area& area, const char* user = "", const char* password = "",
        const char* path = kPath) {
  return HttpGet(path, kLoopback, kvsim.port(), user, password, area.data(), area.size(), "", 0);
}

int GetSized(const KvsimScenario& kvsim, Area& area, const char* path = kPath) {
  return HttpGetSized(path, kLoopback, kvsim.port(), "", "", area.data(), area.size(), nullptr,
                      0);
}

const char kServerPage[] =
    "route /asp-get/kvsvrinf.asp\n"
    "status 200 OK\n"
    "body\n"
    "UDPPORT=32001\n"
    "end\n";
const std::string kServerPageResponse =
    "HTTP/1.1 200 OK\r\nContent-Length: 15\r\n\r\nUDPPORT=32001\r\n";

class HttpClientTest : public ::testing::Test {
 protected:
  void SetUp() override { PEL_REQUIRE_PEER(test::KvsimControlPort(), "kvsim"); }
};

TEST_F(HttpClientTest, SendsOnlyHostAndConnectionWithoutCredentials) {
  KvsimScenario kvsim(kServerPage);
  Area area(10240);
  const int n = Get(kvsim, area);
  ASSERT_EQ(n, static_cast<int>(kServerPageResponse.size()));
  EXPECT_EQ(area.first(n), kServerPageResponse);
  EXPECT_EQ(area.at(static_cast<size_t>(n)), Area::kFill);  // no terminator added
  const auto requests = kvsim.requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0], ExpectedRequest(kPath, kLoopback, kvsim.port()));
}

TEST_F(HttpClientTest, SendsBasicAuthorizationForUserAndPassword) {
  KvsimScenario kvsim(std::string("auth admin:s3cret\n") + kServerPage);
  Area area(10240);
  const int n = Get(kvsim, area, "admin", "s3cret");
  ASSERT_EQ(n, static_cast<int>(kServerPageResponse.size()));
  EXPECT_EQ(area.first(n), kServerPageResponse);
  const auto requests = kvsim.requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0], ExpectedRequest(kPath, kLoopback, kvsim.port(),
                                         AuthorizationLine("admin", "s3cret")));
}

TEST_F(HttpClientTest, SendsAuthorizationForAPasswordAlone) {
  KvsimScenario kvsim(kServerPage);
  Area area(1024);
  ASSERT_GT(Get(kvsim, area, "", "pw"), 0);
  ASSERT_GT(Get(kvsim, area, nullptr, "pw"), 0);
  const auto requests = kvsim.requests();
  ASSERT_EQ(requests.size(), 2u);
  const std::string expected =
      ExpectedRequest(kPath, kLoopback, kvsim.port(), AuthorizationLine("", "pw"));
  EXPECT_EQ(requests[0], expected);
  EXPECT_EQ(requests[1], expected);
}

TEST_F(HttpClientTest, Accepts56CharactersOfCredentialsAndRefuses57BeforeSending) {
  KvsimScenario kvsim(kServerPage);
  Area area(1024);
  const std::string user(20, 'u');
  const std::string password56(36, 'p');
  const std::string password57(37, 'p');
  ASSERT_EQ(Get(kvsim, area, user.c_str(), password56.c_str()),
            static_cast<int>(kServerPageResponse.size()));
  auto requests = kvsim.requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0], ExpectedRequest(kPath, kLoopback, kvsim.port(),
                                         AuthorizationLine(user, password56)));

  kvsim.clearRequests();
  EXPECT_EQ(Get(kvsim, area, user.c_str(), password57.c_str()), HTTP_GET_FAILED);
  requests = test::WaitForRequests(kvsim, 1);
  ASSERT_EQ(requests.size(), 1u);  // the connection was made ...
  EXPECT_EQ(requests[0], "");      // ... and not one request byte was sent
}

TEST_F(HttpClientTest, RefusesARequestLongerThanItsAreaBeforeSending) {
  KvsimScenario kvsim("route *\nstatus 200 OK\n");
  Area area(1024);
  // With the fixed parts and "127.0.0.1:<port>" twice, a path of 430 characters fits in 511.
  const std::string fits = "/" + std::string(429, 'a');
  const std::string tooLong = "/" + std::string(480, 'a');
  EXPECT_GT(Get(kvsim, area, "", "", fits.c_str()), 0);
  EXPECT_EQ(Get(kvsim, area, "", "", tooLong.c_str()), HTTP_GET_FAILED);
  const auto requests = test::WaitForRequests(kvsim, 2);
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0], ExpectedRequest(fits, kLoopback, kvsim.port()));
  EXPECT_EQ(requests[1], "");
}

TEST_F(HttpClientTest, ReportsAMissingBufferWithoutConnecting) {
  KvsimScenario kvsim(kServerPage);
  EXPECT_EQ(HttpGet(kPath, kLoopback, kvsim.port(), "", "", nullptr, 100, "", 0),
            HTTP_GET_NO_BUFFER);
  EXPECT_EQ(HttpGetSized(kPath, kLoopback, kvsim.port(), "", "", nullptr, 100, "", 0),
            HTTP_GET_NO_BUFFER);
  Area area(1024);
  ASSERT_GT(Get(kvsim, area), 0);  // a later request is the first one kvsim saw
  EXPECT_EQ(kvsim.requests().size(), 1u);
}

TEST_F(HttpClientTest, ResolvesAServerName) {
  KvsimScenario kvsim(kServerPage);
  Area area(1024);
  EXPECT_EQ(HttpGet(kPath, "localhost", kvsim.port(), "", "", area.data(), area.size(), "", 0),
            static_cast<int>(kServerPageResponse.size()));
  const auto requests = kvsim.requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0], ExpectedRequest(kPath, kLoopback, kvsim.port()));
}

TEST_F(HttpClientTest, NamesTheServerInTheRequestLineThroughAProxy) {
  // kvsim stands in for the proxy here, so the exact absolute-form request can be seen.
  KvsimScenario proxy(kServerPage);
  Area area(1024);
  EXPECT_EQ(HttpGet(kPath, "192.168.1.5", 80, "", "", area.data(), area.size(), kLoopback,
                    proxy.port()),
            static_cast<int>(kServerPageResponse.size()));
  EXPECT_EQ(HttpGet(kPath, "10.1.2.3", 32768, "", "", area.data(), area.size(), kLoopback,
                    proxy.port()),
            static_cast<int>(kServerPageResponse.size()));
  EXPECT_EQ(HttpGet(kPath, "10.1.2.3", 65535, "u", "p", area.data(), area.size(), kLoopback,
                    proxy.port()),
            static_cast<int>(kServerPageResponse.size()));
  const auto requests = proxy.requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0], ExpectedRequest(kPath, "192.168.1.5", 80));
  EXPECT_EQ(requests[1], ExpectedRequest(kPath, "10.1.2.3", 32768));
  EXPECT_EQ(requests[2], ExpectedRequest(kPath, "10.1.2.3", 65535, AuthorizationLine("u", "p")));
}

TEST_F(HttpClientTest, FailsWhenTheServerBehindAProxyCannotBeNamed) {
  KvsimScenario proxy(kServerPage);
  Area area(1024);
  EXPECT_EQ(HttpGet(kPath, "10.1.2.300", 80, "", "", area.data(), area.size(), kLoopback,
                    proxy.port()),
            HTTP_GET_FAILED);
  const auto requests = test::WaitForRequests(proxy, 1);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0], "");
}

TEST_F(HttpClientTest, EndsAKeptOpenResponseAtItsContentLength) {
  KvsimScenario kvsim(std::string(kServerPage) + "after keep-open\n");
  Area area(10240);
  EXPECT_EQ(Get(kvsim, area), static_cast<int>(kServerPageResponse.size()));
  EXPECT_EQ(area.first(static_cast<int>(kServerPageResponse.size())), kServerPageResponse);
  EXPECT_EQ(GetSized(kvsim, area), static_cast<int>(kServerPageResponse.size()));
  EXPECT_EQ(area.first(static_cast<int>(kServerPageResponse.size())), kServerPageResponse);
}

TEST_F(HttpClientTest, FailsAKeptOpenResponseWithoutLengthAfterTheTimeLimit) {
  KvsimScenario kvsim(std::string(kServerPage) + "content-length none\nafter keep-open\n");
  Area area(10240);
  EXPECT_EQ(Get(kvsim, area), HTTP_GET_FAILED);
}

TEST_F(HttpClientTest, ReturnsAKeptOpenResponseThatFillsTheBuffer) {
  KvsimScenario kvsim(std::string(kServerPage) + "content-length none\nafter keep-open\n");
  const std::string response = "HTTP/1.1 200 OK\r\n\r\nUDPPORT=32001\r\n";
  Area area(response.size());
  EXPECT_EQ(Get(kvsim, area), static_cast<int>(response.size()));
  EXPECT_EQ(area.first(area.size()), response);
  EXPECT_TRUE(area.guardIntact());
}

TEST_F(HttpClientTest, FailsWhenTheServerStallsLongerThanTheTimeLimit) {
  KvsimScenario kvsim(std::string(kServerPage) + "after stall-before 6000\n");
  Area area(10240);
  EXPECT_EQ(Get(kvsim, area), HTTP_GET_FAILED);
}

TEST_F(HttpClientTest, WaitsUpToTheTimeLimitForEachPartOfTheResponse) {
  KvsimScenario kvsim(std::string(kServerPage) + "after stall-middle 1500\n");
  Area area(10240);
  EXPECT_EQ(Get(kvsim, area), static_cast<int>(kServerPageResponse.size()));
  EXPECT_EQ(area.first(static_cast<int>(kServerPageResponse.size())), kServerPageResponse);
}

TEST_F(HttpClientTest, SizedReadFailsWhenTheBodyStallsTooLong) {
  KvsimScenario kvsim(std::string(kServerPage) + "after stall-middle 6000\n");
  Area area(10240);
  EXPECT_EQ(GetSized(kvsim, area), HTTP_GET_FAILED);
}

TEST_F(HttpClientTest, KeepsWhatArrivedBeforeAnEarlyClose) {
  KvsimScenario kvsim(std::string(kServerPage) + "after early-close 44\n");
  Area area(10240);
  EXPECT_EQ(Get(kvsim, area), 44);
  EXPECT_EQ(area.first(44), kServerPageResponse.substr(0, 44));
}

TEST_F(HttpClientTest, SizedReadCountsOnlyTheBodyBytesThatArrived) {
  KvsimScenario kvsim(
      "route *\n"
      "status 200 OK\n"
      "body-repeat 100 x\n"
      "after early-close 80\n");
  const std::string header = "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n";
  Area area(1024);
  ASSERT_EQ(GetSized(kvsim, area), 80);
  EXPECT_EQ(area.first(80), header + std::string(80 - header.size(), 'x'));
  EXPECT_EQ(area.at(80), Area::kFill);  // nothing claimed beyond what arrived
}

TEST_F(HttpClientTest, SizedReadFailsWhenTheHeaderIsCutShort) {
  KvsimScenario kvsim(std::string(kServerPage) + "after early-close 20\n");
  Area area(1024);
  EXPECT_EQ(GetSized(kvsim, area), HTTP_GET_FAILED);
}

TEST_F(HttpClientTest, SizedReadRecognisesBothHeaderEnds) {
  KvsimScenario bareLf(
      "route *\n"
      "raw\n"
      "HTTP/1.1 200 OK\\nContent-Length: 4\\n\\nbodyTRAILING\n"
      "end\n"
      "after keep-open\n");
  KvsimScenario crlf(
      "route *\n"
      "raw\n"
      "HTTP/1.1 200 OK\\r\\nContent-Length: 4\\r\\n\\r\\nbodyTRAILING\n"
      "end\n"
      "after keep-open\n");
  Area area(1024);
  const std::string lfResponse = "HTTP/1.1 200 OK\nContent-Length: 4\n\nbody";
  ASSERT_EQ(GetSized(bareLf, area), static_cast<int>(lfResponse.size()));
  EXPECT_EQ(area.first(static_cast<int>(lfResponse.size())), lfResponse);
  const std::string crlfResponse = "HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\nbody";
  ASSERT_EQ(GetSized(crlf, area), static_cast<int>(crlfResponse.size()));
  EXPECT_EQ(area.first(static_cast<int>(crlfResponse.size())), crlfResponse);
}

TEST_F(HttpClientTest, SizedReadReadsNoBodyWithoutAnExactCaseLength) {
  KvsimScenario lower(
      "route *\n"
      "raw\n"
      "HTTP/1.1 200 OK\\r\\ncontent-length: 4\\r\\n\\r\\nbody\n"
      "end\n");
  KvsimScenario zero("route *\nstatus 200 OK\nbody\nignored\nend\ncontent-length 0\n");
  Area area(1024);
  const std::string header = "HTTP/1.1 200 OK\r\ncontent-length: 4\r\n\r\n";
  ASSERT_EQ(GetSized(lower, area), static_cast<int>(header.size()));
  EXPECT_EQ(area.first(static_cast<int>(header.size())), header);
  EXPECT_EQ(area.at(header.size()), Area::kFill);
  const std::string zeroHeader = "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n";
  EXPECT_EQ(GetSized(zero, area), static_cast<int>(zeroHeader.size()));
}

TEST_F(HttpClientTest, SizedReadTakesAResponseOfExactlyTheBufferSize) {
  KvsimScenario kvsim(kServerPage);
  Area exact(kServerPageResponse.size());
  ASSERT_EQ(GetSized(kvsim, exact), static_cast<int>(kServerPageResponse.size()));
  EXPECT_EQ(exact.first(exact.size()), kServerPageResponse);
  EXPECT_TRUE(exact.guardIntact());
  Area oneShort(kServerPageResponse.size() - 1);
  EXPECT_EQ(GetSized(kvsim, oneShort), HTTP_GET_FAILED);
  EXPECT_TRUE(oneShort.guardIntact());
}

TEST_F(HttpClientTest, ReadsAResponseOfExactlyTheBufferSize) {
  KvsimScenario kvsim(kServerPage);
  Area exact(kServerPageResponse.size());
  ASSERT_EQ(Get(kvsim, exact), static_cast<int>(kServerPageResponse.size()));
  EXPECT_EQ(exact.first(exact.size()), kServerPageResponse);
  EXPECT_TRUE(exact.guardIntact());
  // A smaller buffer ends the read when it is full, without failing.
  Area small(10);
  ASSERT_EQ(Get(kvsim, small), 10);
  EXPECT_EQ(small.first(10), kServerPageResponse.substr(0, 10));
  EXPECT_TRUE(small.guardIntact());
}

TEST_F(HttpClientTest, GivesZeroForAnEmptyResponse) {
  KvsimScenario kvsim("route *\nraw\nend\n");
  Area area(1024);
  EXPECT_EQ(Get(kvsim, area), 0);
  EXPECT_EQ(GetSized(kvsim, area), HTTP_GET_FAILED);
  Area none(0);
  EXPECT_EQ(GetSized(kvsim, none), 0);
}

}  // namespace
}  // namespace pel
