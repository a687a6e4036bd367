#include <gtest/gtest.h>

#include <string>

#include "trust/ProxyBypass.h"

namespace pel {
namespace {

TEST(ProxyBypass, ListsAreMatchedAsTheBrowserDoes) {
  const BypassTarget camera{false, "Cam.Example.com", "10.1.2.3", 80};
  const BypassTarget tlsCamera{true, "cam.example.com", "10.1.2.3", 443};
  const BypassTarget dotless{false, "camera", "10.1.2.3", 80};
  const BypassTarget loopback{false, "127.0.0.9", "127.0.0.9", 8080};
  struct Case {
    std::string list;
    const BypassTarget& target;
    bool bypassed;
  };
  const Case cases[] = {
      {"cam.example.com", camera, true},
      {"other.example; CAM.EXAMPLE.COM ;x", camera, true},
      {"*.example.com", camera, true},
      {"c*m.*.c*", camera, true},
      {"10.1.*", camera, true},
      {"10.1.2.3:80", camera, true},
      {"http://cam.example.com", camera, true},
      {"https://*.example.com:443", tlsCamera, true},
      {"<LOCAL>", dotless, true},
      {"<local>", loopback, true},
      {"localhost;127.*", loopback, true},
      // Not named.
      {"", camera, false},
      {"example.com", camera, false},
      {"*.example.org;10.1.2.4", camera, false},
      {"cam.example.com:8080", camera, false},
      {"cam.example.com:", camera, false},
      {"cam.example.com:99999x", camera, false},
      {"https://cam.example.com", camera, false},
      {"http://cam.example.com", tlsCamera, false},
      {"ftp://cam.example.com", camera, false},
      {"<local>", camera, false},
      {"cam.example.co", camera, false},
      {std::string(256, '*'), camera, false},
      {std::string(256, ';') + "*", camera, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ProxyBypassed(c.list, c.target), c.bypassed) << c.list.substr(0, 40);
  }
  EXPECT_TRUE(ProxyBypassed(std::string(255, ';') + "*", camera));
}

}  // namespace
}  // namespace pel
