#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/HttpStatus.h"

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

}  // namespace
}  // namespace pel
