#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "control/PelioranCtrl.h"
#include "support/ControlFakes.h"
#include "support/FakeBrowserPorts.h"
#include "support/RecordingDispatch.h"
#include "support/RecordingResolver.h"

namespace pel::test {

// A CPelioranCtrl with recording fakes for everything around it: message boxes, window
// operations, the pane (with its "uart" panel) and the "viewer", all calls in one log.
class ControlRig {
 public:
  ControlRig() = default;

  // Binds the fake pane and viewer without running the start sequence.
  void Attach();
  // The server address 127.0.0.1 and `port`.
  void PointAt(uint16_t port);
  // The start sequence with the window at (x, y).
  bool Start(int x = 0, int y = 0, IHostBrowser* browser = nullptr, int dpi = 96);

  FakeOperPane& pane() { return children.pane; }
  RecordingDispatch& viewer() { return children.viewer; }
  RecordingDispatch& uart() { return children.pane.uartDispatch(); }

  CallLog log;
  RecordingMessages messages;
  FakeControlWindow window{log};
  FakeBrowserProxySetting proxy;
  FakeControlChildren children{log};
  RecordingResolver resolver;  // host names: only those given answers resolve
  CPelioranCtrl ctrl{ControlPorts{messages, window, proxy, resolver.AsResolver()}};
};

// Scenario text for kvsim: "route PATH", a body of the given lines (each sent with CR LF)
// and "end".
std::string RouteWithBody(const std::string& path, const std::vector<std::string>& lines);

// The module page route for module `m`.
std::string ModuleRoute(int m, const std::vector<std::string>& lines);

// The server page route.
std::string ServerRoute(const std::vector<std::string>& lines);

// A loopback port where nothing listens (a kvsim listener that has been stopped).
uint16_t ClosedLoopbackPort();

}  // namespace pel::test
