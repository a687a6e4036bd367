#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/HttpClient.h"
#include "net/HttpStatus.h"
#include "support/HttpPeers.h"

namespace pel {
namespace {

class RecordedMessages : public IUserMessages {
 public:
  void ShowMessage(const std::string& text) override { shown.push_back(text); }
  std::vector<std::string> shown;
};

TEST(CheckHttpStatus, AcceptsOkAndNoContentSilently) {
  RecordedMessages messages;
  EXPECT_EQ(CheckHttpStatus(messages, "/asp-get/kvsvrinf.asp", 200), 1);
  EXPECT_EQ(CheckHttpStatus(messages, "/asp-get/kvsvrinf.asp", 204), 1);
  EXPECT_TRUE(messages.shown.empty());
}

TEST(CheckHttpStatus, ShowsOneMessagePerFailure) {
  RecordedMessages messages;
  const char* page = "/asp-get/kvmodinf.asp?KvModId=2";
  EXPECT_EQ(CheckHttpStatus(messages, page, 404), 0);
  EXPECT_EQ(CheckHttpStatus(messages, page, 400), 0);
  EXPECT_EQ(CheckHttpStatus(messages, page, 401), 0);
  EXPECT_EQ(CheckHttpStatus(messages, page, 403), 0);
  EXPECT_EQ(CheckHttpStatus(messages, page, 0), 0);
  EXPECT_EQ(CheckHttpStatus(messages, page, 201), 0);
  EXPECT_EQ(CheckHttpStatus(messages, page, 500), 0);
  const std::vector<std::string> expected = {
      "File not found (/asp-get/kvmodinf.asp?KvModId=2)",
      "File not found (/asp-get/kvmodinf.asp?KvModId=2)",
      "Authorization Failed. (/asp-get/kvmodinf.asp?KvModId=2)",
      "HTTP/1.1 403 Error (/asp-get/kvmodinf.asp?KvModId=2)",
      "HTTP/1.1 0 Error (/asp-get/kvmodinf.asp?KvModId=2)",
      "HTTP/1.1 201 Error (/asp-get/kvmodinf.asp?KvModId=2)",
      "HTTP/1.1 500 Error (/asp-get/kvmodinf.asp?KvModId=2)",
  };
  EXPECT_EQ(messages.shown, expected);
}

TEST(CheckHttpStatus, KeepsPercentSignsOfThePageNameAsText) {
  RecordedMessages messages;
  EXPECT_EQ(CheckHttpStatus(messages, "/a%d%s", 404), 0);
  EXPECT_EQ(CheckHttpStatus(messages, nullptr, 401), 0);
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[0], "File not found (/a%d%s)");
  EXPECT_EQ(messages.shown[1], "Authorization Failed. ()");
}

TEST(ReadHttpStatusCode, ReadsTheThreeCharactersAfterTheVersion) {
  const std::string ok = "HTTP/1.1 200 OK\r\n";
  EXPECT_EQ(ReadHttpStatusCode(ok.data(), ok.size()), 200);
  const std::string old = "HTTP/1.0 403 Forbidden\r\n";
  EXPECT_EQ(ReadHttpStatusCode(old.data(), old.size()), 403);
  const std::string longer = "HTTP/1.1 2000 Odd\r\n";
  EXPECT_EQ(ReadHttpStatusCode(longer.data(), longer.size()), 200);
  const std::string garbage = "HTTP/1.1 OK 200\r\n";
  EXPECT_EQ(ReadHttpStatusCode(garbage.data(), garbage.size()), 0);
  const std::string shortOne = "HTTP/1.1 20";
  EXPECT_EQ(ReadHttpStatusCode(shortOne.data(), shortOne.size()), 0);
  const std::string exact = "HTTP/1.1 404";
  EXPECT_EQ(ReadHttpStatusCode(exact.data(), exact.size()), 404);
  // Bytes beyond the received count do not count, even when the area holds them.
  EXPECT_EQ(ReadHttpStatusCode(ok.data(), 11), 0);
  EXPECT_EQ(ReadHttpStatusCode(ok.data(), 0), 0);
  EXPECT_EQ(ReadHttpStatusCode(nullptr, 20), 0);
}

// A page read as the page readers do it: a cleared buffer, HttpGet, the status from the
// response, the status check.
struct PageRead {
  int received = 0;
  int status = 0;
  int accepted = 0;
  std::vector<std::string> shown;
};

constexpr char kPage[] = "/asp-get/kvsvrinf.asp";

PageRead ReadPage(const std::string& scenario, const char* user = "", const char* password = "") {
  test::KvsimScenario kvsim(scenario);
  std::vector<char> buffer(1024, '\0');
  PageRead read;
  read.received = HttpGet(kPage, "127.0.0.1", kvsim.port(), user, password, buffer.data(),
                          static_cast<int>(buffer.size()), "", 0);
  read.status = ReadHttpStatusCode(buffer.data(), read.received < 0 ? 0 : read.received);
  RecordedMessages messages;
  read.accepted = CheckHttpStatus(messages, kPage, read.status);
  read.shown = messages.shown;
  return read;
}

class HttpStatusFromServer : public ::testing::Test {
 protected:
  void SetUp() override { PEL_REQUIRE_PEER(test::KvsimControlPort(), "kvsim"); }
};

TEST_F(HttpStatusFromServer, AcceptsOkAndNoContent) {
  PageRead ok = ReadPage("route *\nstatus 200 OK\nbody\nUDPPORT=1\nend\n");
  EXPECT_GT(ok.received, 0);
  EXPECT_EQ(ok.status, 200);
  EXPECT_EQ(ok.accepted, 1);
  EXPECT_TRUE(ok.shown.empty());
  PageRead empty = ReadPage("route *\nstatus 204 No Content\ncontent-length none\n");
  EXPECT_EQ(empty.status, 204);
  EXPECT_EQ(empty.accepted, 1);
  EXPECT_TRUE(empty.shown.empty());
}

TEST_F(HttpStatusFromServer, ShowsNotFoundForBadRequestAndMissingPages) {
  PageRead bad = ReadPage("route *\nstatus 400 Bad Request\n");
  EXPECT_EQ(bad.status, 400);
  EXPECT_EQ(bad.accepted, 0);
  EXPECT_EQ(bad.shown, std::vector<std::string>{"File not found (/asp-get/kvsvrinf.asp)"});
  PageRead missing = ReadPage("route /asp-get/other.asp\nstatus 200 OK\n");
  EXPECT_EQ(missing.status, 404);
  EXPECT_EQ(missing.accepted, 0);
  EXPECT_EQ(missing.shown, std::vector<std::string>{"File not found (/asp-get/kvsvrinf.asp)"});
}

TEST_F(HttpStatusFromServer, ShowsAuthorizationFailedForWrongCredentials) {
  PageRead wrong = ReadPage("auth admin:right\nroute *\nstatus 200 OK\n", "admin", "wrong");
  EXPECT_EQ(wrong.status, 401);
  EXPECT_EQ(wrong.accepted, 0);
  EXPECT_EQ(wrong.shown,
            std::vector<std::string>{"Authorization Failed. (/asp-get/kvsvrinf.asp)"});
  PageRead right = ReadPage("auth admin:right\nroute *\nstatus 200 OK\n", "admin", "right");
  EXPECT_EQ(right.status, 200);
  EXPECT_EQ(right.accepted, 1);
}

TEST_F(HttpStatusFromServer, ShowsTheCodeForOtherStatusesAlsoFromHttp10) {
  PageRead forbidden = ReadPage("route *\nstatusline HTTP/1.0 403 Forbidden\n");
  EXPECT_EQ(forbidden.status, 403);
  EXPECT_EQ(forbidden.accepted, 0);
  EXPECT_EQ(forbidden.shown,
            std::vector<std::string>{"HTTP/1.1 403 Error (/asp-get/kvsvrinf.asp)"});
  PageRead failing = ReadPage("route *\nstatus 503 Service Unavailable\n");
  EXPECT_EQ(failing.shown,
            std::vector<std::string>{"HTTP/1.1 503 Error (/asp-get/kvsvrinf.asp)"});
}

TEST_F(HttpStatusFromServer, ShowsCodeZeroForAnEmptyResponse) {
  PageRead nothing = ReadPage("route *\nraw\nend\n");
  EXPECT_EQ(nothing.received, 0);
  EXPECT_EQ(nothing.status, 0);
  EXPECT_EQ(nothing.accepted, 0);
  EXPECT_EQ(nothing.shown, std::vector<std::string>{"HTTP/1.1 0 Error (/asp-get/kvsvrinf.asp)"});
}

}  // namespace
}  // namespace pel
