#include "support/PaneRig.h"

#include "hosted/SimpleViewerDispids.h"

namespace pel::test {

IOperPaneLink* PaneChildren::CreatePane(const ChildRect&, int) {
  return pane_.OnCreate() ? &pane_ : nullptr;
}

IDispatchPort* PaneChildren::CreateViewer(const ChildRect&, int) { return &viewer_; }

PaneRig::PaneRig() = default;

bool PaneRig::Start(const std::string& scenario) {
  kv = std::make_unique<KvsimScenario>(scenario);
  if (kv->port() == 0) return false;
  control.PointAt(kv->port());
  StartParams params;
  if (!control.ctrl.Start(params, children)) return false;
  control.log.Clear();
  return true;
}

void PaneRig::Click(int index) {
  pane.Button(index).OnLButtonDown();
  pane.Button(index).OnLButtonUp();
}

std::vector<int> PaneRig::Shown() {
  std::vector<int> shown;
  for (int c = 1; c <= 6; ++c) {
    if (viewer().Value(viewer_dispid::kShowCam[c - 1]).AsBool()) shown.push_back(c);
  }
  return shown;
}

std::vector<int> PaneRig::Latched() {
  std::vector<int> latched;
  for (int c = 1; c <= 6; ++c) {
    if (pane.Button(kButtonCam1 + c - 1).IsLatched()) latched.push_back(c);
  }
  return latched;
}

double PaneRig::Scale(int camera) {
  const Variant v = viewer().Value(viewer_dispid::kScaleCam[camera - 1]);
  return v.vt == kVtR8 ? v.d : 0.0;
}

bool PaneRig::ViewerSequence() { return viewer().Value(viewer_dispid::kSequence).AsBool(); }

std::string PaneScenario(const std::string& property0, const std::vector<std::string>& moduleLines,
                         int modules, const std::vector<std::string>& serverLines) {
  std::vector<std::string> server = {"SYS_BUILDDATE=20100101", "PROPERTY0=" + property0,
                                     "VSMMAXCNT=" + std::to_string(modules)};
  for (int m = 0; m < modules; ++m) {
    server.push_back("VSMIPTYPE" + std::to_string(m) + "=3");
    server.push_back("VSMNAME" + std::to_string(m) + "=\"Module" + std::to_string(m) + "\"");
  }
  server.insert(server.end(), serverLines.begin(), serverLines.end());
  std::string scenario = ServerRoute(server);
  for (int m = 0; m < modules; ++m) scenario += ModuleRoute(m, moduleLines);
  return scenario;
}

}  // namespace pel::test
