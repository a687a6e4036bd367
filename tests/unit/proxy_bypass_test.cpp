#include <gtest/gtest.h>

#include <string>

#include "trust/ProxyBypass.h"

namespace pel {
namespace {

TEST(ProxyBypass, ListsAreMatchedAsTheBrowserDoes) {
  const BypassTarget http{false, "Cam.Example.com", "10.1.2.3", 80};
  const BypassTarget https{true, "cam.example.com", "10.1.2.3", 443};
  struct Case {
    std::string list;
    BypassTarget target;
    bool bypassed;
  };
  const Case cases[] = {
      {"other.example; CAM.EXAMPLE.COM ;x", http, true},
      {"c*m.*.c*", http, true},
      {"10.1.*:80", http, true},
      {"https://*.example.com:443", https, true},
      {"<LOCAL>", {false, "camera", "10.1.2.3", 80}, true},
      {"<local>", {false, "127.0.0.9", "127.0.0.9", 8080}, true},
      {"*.example.org;10.1.2.4;cam.example.co", http, false},
      {"cam.example.com:8080;cam.example.com:", http, false},
      {"https://cam.example.com;ftp://*", http, false},
      {"http://cam.example.com", https, false},
      {"<local>", http, false},
      {std::string(256, '*'), http, false},
      {std::string(256, ';') + "*", http, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ProxyBypassed(c.list, c.target), c.bypassed) << c.list.substr(0, 40);
  }
}

}  // namespace
}  // namespace pel
