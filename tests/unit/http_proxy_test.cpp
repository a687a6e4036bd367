#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/HttpClient.h"
#include "net/HttpStatus.h"
#include "support/HttpPeers.h"

namespace pel {
namespace {

using test::AuthorizationLine;
using test::KvsimScenario;

constexpr char kLoopback[] = "127.0.0.1";
constexpr int kPageBuffer = 10240;

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

TEST(HttpThroughTinyproxy, ConnectsToTheProxyWhichPassesPathAndAuthorization) {
  PEL_REQUIRE_PEER(test::KvsimControlPort(), "kvsim");
  PEL_REQUIRE_PEER(test::ProxyPort(), "tinyproxy");
  KvsimScenario kvsim(
      "auth admin:s3cret\n"
      "route /asp-get/kvmodinf.asp?KvModId=2\n"
      "status 200 OK\n"
      "body\n"
      "NUMCAM=4\n"
      "end\n");
  std::vector<char> buffer(kPageBuffer, '\0');
  const int n = HttpGet("/asp-get/kvmodinf.asp?KvModId=2", kLoopback, kvsim.port(), "admin",
                        "s3cret", buffer.data(), kPageBuffer, kLoopback,
                        static_cast<unsigned short>(test::ProxyPort()));
  ASSERT_GT(n, 0);
  const std::string response(buffer.data(), static_cast<size_t>(n));
  EXPECT_EQ(ReadHttpStatusCode(response.data(), response.size()), 200);
  EXPECT_TRUE(EndsWith(response, "\r\n\r\nNUMCAM=4\r\n")) << response;

  // What reached the server came through the proxy, which the client named it to.
  const auto requests = kvsim.requests();
  ASSERT_EQ(requests.size(), 1u);
  const std::string& request = requests[0];
  EXPECT_EQ(request.substr(0, request.find("\r\n")),
            "GET /asp-get/kvmodinf.asp?KvModId=2 HTTP/1.1");
  EXPECT_NE(request.find("\r\n" + AuthorizationLine("admin", "s3cret")), std::string::npos)
      << request;
}

TEST(HttpThroughTinyproxy, SizedReadWorksThroughTheProxy) {
  PEL_REQUIRE_PEER(test::KvsimControlPort(), "kvsim");
  PEL_REQUIRE_PEER(test::ProxyPort(), "tinyproxy");
  KvsimScenario kvsim("route /cgi-bin/kvdoctr.cgi\nstatus 200 OK\nbody-repeat 300 ab\n");
  std::vector<char> buffer(1024, '\0');
  const int n = HttpGetSized("/cgi-bin/kvdoctr.cgi", kLoopback, kvsim.port(), "", "",
                             buffer.data(), 1024, kLoopback,
                             static_cast<unsigned short>(test::ProxyPort()));
  std::string body;
  for (int i = 0; i < 300; ++i) body += "ab";
  ASSERT_GT(n, static_cast<int>(body.size()));
  const std::string response(buffer.data(), static_cast<size_t>(n));
  EXPECT_EQ(ReadHttpStatusCode(response.data(), response.size()), 200);
  EXPECT_TRUE(EndsWith(response, "\r\n\r\n" + body)) << response;
}

TEST(HttpFromNginx, ReadsTheWholePageFromAKeepAliveServer) {
  PEL_REQUIRE_PEER(test::NginxPort(), "nginx");
  const std::string page = test::NginxPageBytes();
  ASSERT_FALSE(page.empty());
  std::vector<char> buffer(kPageBuffer, '\0');
  const int n = HttpGet(test::NginxPagePath().c_str(), kLoopback,
                        static_cast<unsigned short>(test::NginxPort()), "", "", buffer.data(),
                        kPageBuffer, "", 0);
  ASSERT_GT(n, static_cast<int>(page.size()));  // not the time-out's failure
  const std::string response(buffer.data(), static_cast<size_t>(n));
  EXPECT_EQ(ReadHttpStatusCode(response.data(), response.size()), 200);
  EXPECT_TRUE(EndsWith(response, "\r\n\r\n" + page));

  std::vector<char> sized(kPageBuffer, '\0');
  const int m = HttpGetSized(test::NginxPagePath().c_str(), kLoopback,
                             static_cast<unsigned short>(test::NginxPort()), "", "",
                             sized.data(), kPageBuffer, "", 0);
  ASSERT_GT(m, static_cast<int>(page.size()));
  EXPECT_TRUE(EndsWith(std::string(sized.data(), static_cast<size_t>(m)), "\r\n\r\n" + page));
}

TEST(HttpFromNginx, ReadsThePageThroughTinyproxy) {
  PEL_REQUIRE_PEER(test::NginxPort(), "nginx");
  PEL_REQUIRE_PEER(test::ProxyPort(), "tinyproxy");
  const std::string page = test::NginxPageBytes();
  std::vector<char> buffer(kPageBuffer, '\0');
  const int n = HttpGet(test::NginxPagePath().c_str(), kLoopback,
                        static_cast<unsigned short>(test::NginxPort()), "", "", buffer.data(),
                        kPageBuffer, kLoopback, static_cast<unsigned short>(test::ProxyPort()));
  ASSERT_GT(n, static_cast<int>(page.size()));
  EXPECT_TRUE(EndsWith(std::string(buffer.data(), static_cast<size_t>(n)), "\r\n\r\n" + page));
}

}  // namespace
}  // namespace pel
