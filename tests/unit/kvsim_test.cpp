// kvsim itself, checked with plain sockets: the bytes its routes send, how it treats the
// connection around them, what it records and how its control port answers.
#include "support/Kvsim.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "support/LoopbackClient.h"
#include "support/TestEnv.h"

namespace pel::test {
namespace {

std::string Get(int port, const std::string& target, const std::string& headers = "") {
  return ExchangeWithLoopback(
      port, "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" + headers + "\r\n", 3000);
}

std::string StatusLine(const std::string& response) {
  return response.substr(0, response.find("\r\n"));
}

// Connects and sends a minimal request for target, leaving the connection open.
bool Ask(LoopbackClient& client, int port, const std::string& target) {
  return client.connect(port) && client.send("GET " + target + " HTTP/1.1\r\n\r\n");
}

TEST(Kvsim, RoutesAnswerWithExactBytes) {
  KvsimScenario kv(
      "# one route per way of building an answer\n"
      "route /plain\n"
      "body\n"
      "A=1\n"
      "\n"
      "end\n"
      "route /shaped\n"
      "  status 403 Forbidden\n"
      "  header Content-Type: text/plain\n"
      "  header X-Two:  spaced \n"
      "  body-lf\n"
      "x\n"
      "y\n"
      "end\n"
      "route /none\n"
      "statusline HTTP/1.0 204 No Content\n"
      "content-length none\n"
      "route /announce\n"
      "content-length 99\n"
      "body-escaped\n"
      "a\\tb\\r\\n\\x41\\\\\\\"\n"
      "end\n"
      "route /repeat\n"
      "body-repeat 3000 0123456789\n");
  ASSERT_NE(kv.port(), 0);
  EXPECT_EQ(Get(kv.port(), "/plain"), "HTTP/1.1 200 OK\r\nContent-Length: 7\r\n\r\nA=1\r\n\r\n");
  EXPECT_EQ(Get(kv.port(), "/shaped"),
            "HTTP/1.1 403 Forbidden\r\nContent-Type: text/plain\r\nX-Two:  spaced \r\n"
            "Content-Length: 4\r\n\r\nx\ny\n");
  EXPECT_EQ(Get(kv.port(), "/none"), "HTTP/1.0 204 No Content\r\n\r\n");
  EXPECT_EQ(Get(kv.port(), "/announce"),
            "HTTP/1.1 200 OK\r\nContent-Length: 99\r\n\r\na\tb\r\nA\\\"");
  std::string repeated;
  for (int i = 0; i < 3000; ++i) repeated += "0123456789";
  EXPECT_EQ(Get(kv.port(), "/repeat"),
            "HTTP/1.1 200 OK\r\nContent-Length: 30000\r\n\r\n" + repeated);
}

TEST(Kvsim, RawRoutesAreSentVerbatim) {
  KvsimScenario kv(
      "route /bare-lf\n"
      "raw\n"
      "HTTP/1.1 200 OK\\nContent-Length: 2\\n\\nok\n"
      "end\n"
      "route /odd\n"
      "raw\n"
      "ICY 200 OK\\r\\n\\r\\n\\x00\\xff\n"
      "end\n"
      "route /nothing\n"
      "raw\n"
      "end\n");
  ASSERT_NE(kv.port(), 0);
  EXPECT_EQ(Get(kv.port(), "/bare-lf"), "HTTP/1.1 200 OK\nContent-Length: 2\n\nok");
  EXPECT_EQ(Get(kv.port(), "/odd"), std::string("ICY 200 OK\r\n\r\n\x00\xff", 16));

  LoopbackClient client;
  ASSERT_TRUE(Ask(client, kv.port(), "/nothing"));
  EXPECT_EQ(client.receive(3000), "");
  EXPECT_TRUE(client.peerClosed());
}

TEST(Kvsim, AuthorizationIsRequiredWhenGiven) {
  KvsimScenario kv(
      "auth admin:1234\n"
      "auth :secret\n"
      "route /page\n"
      "body\n"
      "in\n"
      "end\n");
  ASSERT_NE(kv.port(), 0);
  const std::string granted = "HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\nin\r\n";

  std::string refused = Get(kv.port(), "/page");
  EXPECT_EQ(StatusLine(refused), "HTTP/1.1 401 Unauthorized");
  EXPECT_NE(refused.find("\r\nContent-Length: "), std::string::npos);
  EXPECT_EQ(StatusLine(Get(kv.port(), "/page",
                           "Authorization: Basic " + TestBase64("admin:123") + "\r\n")),
            "HTTP/1.1 401 Unauthorized");
  EXPECT_EQ(StatusLine(Get(kv.port(), "/page",
                           "Authorization: Digest " + TestBase64("admin:1234") + "\r\n")),
            "HTTP/1.1 401 Unauthorized");

  EXPECT_EQ(Get(kv.port(), "/page", "Authorization: Basic " + TestBase64("admin:1234") + "\r\n"),
            granted);
  EXPECT_EQ(Get(kv.port(), "/page", "authorization: Basic " + TestBase64(":secret") + "\r\n"),
            granted);
  // A wrong password is refused before the path is even looked at.
  EXPECT_EQ(StatusLine(Get(kv.port(), "/elsewhere")), "HTTP/1.1 401 Unauthorized");
}

TEST(Kvsim, RoutesMatchPathAndQueryOfEitherTargetForm) {
  KvsimScenario kv(
      "route /asp-get/kvmodinf.asp?KvModId=1\n"
      "body\n"
      "module 1\n"
      "end\n"
      "route /\n"
      "body\n"
      "root\n"
      "end\n");
  ASSERT_NE(kv.port(), 0);
  const std::string module1 = "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nmodule 1\r\n";
  EXPECT_EQ(Get(kv.port(), "/asp-get/kvmodinf.asp?KvModId=1"), module1);
  EXPECT_EQ(Get(kv.port(), "http://127.0.0.1:" + std::to_string(kv.port()) +
                               "/asp-get/kvmodinf.asp?KvModId=1"),
            module1);
  EXPECT_EQ(Get(kv.port(), "HTTP://192.168.1.5:80"),
            "HTTP/1.1 200 OK\r\nContent-Length: 6\r\n\r\nroot\r\n");
  EXPECT_EQ(StatusLine(Get(kv.port(), "/asp-get/kvmodinf.asp?KvModId=10")),
            "HTTP/1.1 404 Not Found");
  EXPECT_EQ(StatusLine(Get(kv.port(), "/asp-get/kvmodinf.asp")), "HTTP/1.1 404 Not Found");

  KvsimScenario fallback(
      "route /known\n"
      "route *\n"
      "status 500 Internal Server Error\n");
  ASSERT_NE(fallback.port(), 0);
  EXPECT_EQ(StatusLine(Get(fallback.port(), "/known")), "HTTP/1.1 200 OK");
  EXPECT_EQ(Get(fallback.port(), "/any?thing"),
            "HTTP/1.1 500 Internal Server Error\r\nContent-Length: 0\r\n\r\n");
}

TEST(Kvsim, MalformedRequestsGetBadRequestAndKvsimGoesOn) {
  KvsimScenario kv("route *\n");
  ASSERT_NE(kv.port(), 0);
  const std::vector<std::string> malformed = {
      "garbage\r\n\r\n",
      "GET /x\r\n\r\n",
      "GET /x HTTP/1.1\r\nNo colon here\r\n\r\n",
      "GET ftp://host/x HTTP/1.1\r\n\r\n",
      "GET /x HTTP/1.1\r\n",  // the client stops before the empty line
  };
  for (const std::string& request : malformed) {
    LoopbackClient client;
    ASSERT_TRUE(client.connect(kv.port()));
    ASSERT_TRUE(client.send(request));
    client.shutdownSend();
    EXPECT_EQ(StatusLine(client.receive(3000)), "HTTP/1.1 400 Bad Request") << request;
  }

  // Headers beyond 64 KiB: kvsim answers 400 once it has 64 KiB and stops reading.
  LoopbackClient huge;
  ASSERT_TRUE(huge.connect(kv.port()));
  const std::string hugeHead = "GET /x HTTP/1.1\r\nX-Big: " + std::string(70 * 1024, 'a');
  huge.send(hugeHead);
  EXPECT_EQ(StatusLine(huge.receive(3000)), "HTTP/1.1 400 Bad Request");
  EXPECT_TRUE(huge.peerClosed());

  // A client that connects and leaves at once is recorded with no bytes.
  LoopbackClient leaving;
  ASSERT_TRUE(leaving.connect(kv.port()));
  leaving.close();

  EXPECT_EQ(StatusLine(Get(kv.port(), "/still-there")), "HTTP/1.1 200 OK");
  // Each connection got its entry when it was accepted, so all are listed by now.
  std::vector<std::string> requests = kv.requests();
  ASSERT_EQ(requests.size(), malformed.size() + 3);
  // What comes after the answer, before kvsim closes, may be recorded too.
  const std::string& hugeRecord = requests[malformed.size()];
  EXPECT_GE(hugeRecord.size(), 64u * 1024);
  EXPECT_EQ(hugeRecord, hugeHead.substr(0, hugeRecord.size()));
  EXPECT_EQ(requests[malformed.size() + 1], "");
}

TEST(Kvsim, AfterModesShapeTheConnection) {
  KvsimScenario kv(
      "route /keep\n"
      "body\n"
      "kept\n"
      "end\n"
      "after keep-open\n"
      "route /silent\n"
      "after silent\n"
      "route /early\n"
      "after early-close 10\n"
      "route /stall-before\n"
      "after stall-before 300\n"
      "route /stall-middle\n"
      "raw\n"
      "0123456789\n"
      "end\n"
      "after stall-middle 300\n");
  ASSERT_NE(kv.port(), 0);
  const std::string keep = "HTTP/1.1 200 OK\r\nContent-Length: 6\r\n\r\nkept\r\n";
  const std::string empty = "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n";

  LoopbackClient keepOpen;
  ASSERT_TRUE(Ask(keepOpen, kv.port(), "/keep"));
  EXPECT_EQ(keepOpen.receive(200), keep);
  EXPECT_FALSE(keepOpen.peerClosed());

  LoopbackClient silent;
  ASSERT_TRUE(Ask(silent, kv.port(), "/silent"));
  EXPECT_EQ(silent.receive(200), "");
  EXPECT_FALSE(silent.peerClosed());

  EXPECT_EQ(Get(kv.port(), "/early"), empty.substr(0, 10));

  LoopbackClient before;
  ASSERT_TRUE(Ask(before, kv.port(), "/stall-before"));
  EXPECT_EQ(before.receive(100), "");
  EXPECT_FALSE(before.peerClosed());
  EXPECT_EQ(before.receive(3000), empty);
  EXPECT_TRUE(before.peerClosed());

  LoopbackClient middle;
  ASSERT_TRUE(Ask(middle, kv.port(), "/stall-middle"));
  EXPECT_EQ(middle.receive(150), "01234");
  EXPECT_FALSE(middle.peerClosed());
  EXPECT_EQ(middle.receive(3000), "56789");
  EXPECT_TRUE(middle.peerClosed());
}

TEST(Kvsim, RecordsEveryByteOfEachConnectionInOrder) {
  KvsimScenario kv(
      "route /a\n"
      "route /open\n"
      "after keep-open\n");
  ASSERT_NE(kv.port(), 0);
  const std::string first =
      "GET http://127.0.0.1:80/a HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: Keep-Alive\r\n\r\n";
  const std::string bareLf = "GET /a HTTP/1.1\nHost: x\n\n";
  EXPECT_EQ(StatusLine(ExchangeWithLoopback(kv.port(), first)), "HTTP/1.1 200 OK");
  EXPECT_EQ(StatusLine(ExchangeWithLoopback(kv.port(), bareLf)), "HTTP/1.1 200 OK");

  // Bytes that follow the header block, even after the answer, join the same entry.
  LoopbackClient open;
  ASSERT_TRUE(open.connect(kv.port()));
  ASSERT_TRUE(open.send("GET /open HTTP/1.1\r\n\r\nbody"));
  EXPECT_EQ(StatusLine(open.receive(200)), "HTTP/1.1 200 OK");
  ASSERT_TRUE(open.send(std::string("\0late", 5)));
  open.close();

  std::vector<std::string> requests = kv.requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0], first);
  EXPECT_EQ(requests[1], bareLf);
  const std::string whole = "GET /open HTTP/1.1\r\n\r\nbody" + std::string("\0late", 5);
  for (int i = 0; i < 100 && requests[2].size() < whole.size(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    requests = kv.requests();
  }
  EXPECT_EQ(requests[2], whole);

  kv.clearRequests();
  EXPECT_TRUE(kv.requests().empty());
  EXPECT_EQ(StatusLine(Get(kv.port(), "/a")), "HTTP/1.1 200 OK");
  EXPECT_EQ(kv.requests().size(), 1u);
}

TEST(Kvsim, ControlPortRefusesWhatItCannotDo) {
  const int control = KvsimControlPort();
  ASSERT_NE(control, 0) << "no kvsim runs";

  std::string bad = "route /x\nstatus 200 OK\nbody\nnever closed\n";
  std::string answer =
      ExchangeWithLoopback(control, "LOAD " + std::to_string(bad.size()) + "\n" + bad);
  EXPECT_EQ(answer, "ERR line 3: block has no closing 'end' line\n");
  bad = "route /x\n\nafter linger\n";
  answer = ExchangeWithLoopback(control, "LOAD " + std::to_string(bad.size()) + "\n" + bad);
  EXPECT_EQ(answer.substr(0, 11), "ERR line 3:");
  bad = "route /x\nraw\nend\nstatus 200 OK\n";
  answer = ExchangeWithLoopback(control, "LOAD " + std::to_string(bad.size()) + "\n" + bad);
  EXPECT_EQ(answer.substr(0, 11), "ERR line 4:");
  EXPECT_NONFATAL_FAILURE(
      {
        KvsimScenario failing("route /x\nbogus directive\n");
        EXPECT_EQ(failing.port(), 0);
      },
      "line 2: unknown directive 'bogus'");

  EXPECT_EQ(ExchangeWithLoopback(control, "HELLO\n").substr(0, 4), "ERR ");
  EXPECT_EQ(ExchangeWithLoopback(control, "LOAD many\n").substr(0, 4), "ERR ");

  int unloadedPort = 0;
  {
    KvsimScenario kv("route /x\n");
    ASSERT_NE(kv.port(), 0);
    unloadedPort = kv.port();
  }
  LoopbackClient client;
  EXPECT_FALSE(client.connect(unloadedPort));
  const std::string port = std::to_string(unloadedPort);
  EXPECT_EQ(ExchangeWithLoopback(control, "REQUESTS " + port + "\n"),
            "ERR no scenario on port " + port + "\n");
  EXPECT_EQ(ExchangeWithLoopback(control, "CLEAR " + port + "\n").substr(0, 4), "ERR ");
  EXPECT_EQ(ExchangeWithLoopback(control, "UNLOAD " + port + "\n").substr(0, 4), "ERR ");
}

}  // namespace
}  // namespace pel::test
