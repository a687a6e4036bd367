#pragma once

#include <string>

namespace pel::test {

// Starts the socket library where the platform needs it (not when PEL_TEST_NO_WINSOCK is set:
// a child run in which the code under test has to start it) and reads the peers file that
// the test run's set-up wrote (PEL_PEERS names it): the loopback ports of kvsim's control
// channel, tinyproxy and nginx.
void InitTestEnvironment();

int KvsimControlPort();         // 0 when no kvsim runs
int ProxyPort();                // tinyproxy, 0 when none runs
int NginxPort();                // nginx, 0 when none runs
std::string NginxPagePath();    // the URL path of the page nginx serves ("/page.txt")
std::string NginxPageBytes();   // that page's exact bytes, read from its file

// A path of the shared test material (shared/ beside the repository), usable from the
// program whether it runs natively or under Wine.
std::string SharedPath(const std::string& relative);

// A Unix path as this program can open it (under Wine: through drive Z:).
std::string HostPath(const std::string& unixPath);

}  // namespace pel::test
