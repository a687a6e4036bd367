#include "support/ControlRig.h"

#include "support/Kvsim.h"

namespace pel::test {

void ControlRig::Attach() {
  ctrl.AttachPane(&children.pane);
  ctrl.AttachViewer(&children.viewer);
}

void ControlRig::PointAt(uint16_t port) {
  ctrl.SetStrIpAddr("127.0.0.1");
  ctrl.SetIHttpPort(port);
}

bool ControlRig::Start(int x, int y, IHostBrowser* browser, int dpi) {
  StartParams params;
  params.x = x;
  params.y = y;
  params.hostBrowser = browser;
  params.dpi = dpi;
  return ctrl.Start(params, children);
}

std::string RouteWithBody(const std::string& path, const std::vector<std::string>& lines) {
  std::string text = "route " + path + "\nbody\n";
  for (const std::string& line : lines) text += line + "\n";
  return text + "end\n";
}

std::string ModuleRoute(int m, const std::vector<std::string>& lines) {
  return RouteWithBody("/asp-get/kvmodinf.asp?KvModId=" + std::to_string(m), lines);
}

std::string ServerRoute(const std::vector<std::string>& lines) {
  return RouteWithBody("/asp-get/kvsvrinf.asp", lines);
}

uint16_t ClosedLoopbackPort() {
  uint16_t port = 0;
  {
    KvsimScenario gone("route /\n");
    port = gone.port();
  }
  return port;
}

}  // namespace pel::test
