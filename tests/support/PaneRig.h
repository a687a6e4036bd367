#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "pane/PelioranOperPane.h"
#include "support/ControlRig.h"
#include "support/Kvsim.h"
#include "support/PaneFakes.h"

namespace pel::test {

// Makes the real pane (running its creation) and hands out the rig's recording viewer.
class PaneChildren : public IControlChildren {
 public:
  PaneChildren(CPelioranOperPane& pane, IDispatchPort& viewer) : pane_(pane), viewer_(viewer) {}
  IOperPaneLink* CreatePane(const ChildRect& rect, int id) override;
  IDispatchPort* CreateViewer(const ChildRect& rect, int id) override;

 private:
  CPelioranOperPane& pane_;
  IDispatchPort& viewer_;
};

// A CPelioranCtrl started against kvsim with the real CPelioranOperPane over fake views,
// dialogs and system; the viewer is the ControlRig's recording "viewer".
class PaneRig {
 public:
  PaneRig();

  // Serves `scenario` and runs the start sequence on it; false when either fails.
  bool Start(const std::string& scenario);

  // A click on button `index`: down, then up.
  void Click(int index);
  // Cameras 1..6 whose viewer flag bShowCamN reads TRUE.
  std::vector<int> Shown();
  // Cameras 1..6 whose buttons are latched.
  std::vector<int> Latched();
  double Scale(int camera);
  bool ViewerSequence();

  CPelioranCtrl& ctrl() { return control.ctrl; }
  RecordingDispatch& viewer() { return control.viewer(); }
  std::vector<std::string>& messages() { return control.messages.texts; }

  ControlRig control;
  FakePaneView view{control.log};
  FakePaneDialogs dialogs;
  FakeSnapshotSystem system;
  CPelioranOperPane pane{PanePorts{view, dialogs, control.messages, system}, &control.ctrl};
  PaneChildren children{pane, control.viewer()};
  std::unique_ptr<KvsimScenario> kv;
};

// A server listing `modules` modules (each a module page with `moduleLines`), with the access
// word PROPERTY0 and the further server page lines given.
std::string PaneScenario(const std::string& property0, const std::vector<std::string>& moduleLines,
                         int modules = 1, const std::vector<std::string>& serverLines = {});

}  // namespace pel::test
