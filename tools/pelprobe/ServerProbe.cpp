#include "pelprobe/ServerProbe.h"

#include <cstdio>

#include "hosted/SimpleViewerDispids.h"
#include "pelprobe/DispidNames.h"
#include "serverinfo/ModulePage.h"
#include "serverinfo/ServerPage.h"

namespace pel::probe {

namespace {

// The probe's viewer names its server as "<strServerAddr>:<iServerPort>" from the values it
// was given; the control turns that into the folder name of its snapshots.
Variant ServerTag(const RecordingComponent& viewer, std::vector<Variant>&) {
  return Variant::Bstr(viewer.Held(viewer_dispid::kServerAddr).AsText() + ":" +
                       std::to_string(viewer.Held(viewer_dispid::kServerPort).AsInt()));
}

std::string ModulePath(int32_t m) {
  char path[64];
  std::snprintf(path, sizeof path, kModuleInfoPathFormat, static_cast<int>(m));
  return path;
}

std::string ListedModules(const CSkinComboBox& modules) {
  if (modules.count() == 0) return "the list is empty";
  std::string listed = "listed:";
  for (int i = 0; i < modules.count(); ++i) listed += " " + std::to_string(modules.GetItemData(i));
  return listed;
}

int FindModule(const CSkinComboBox& modules, int32_t m) {
  for (int i = 0; i < modules.count(); ++i) {
    if (modules.GetItemData(i) == m) return i;
  }
  return IComboList::kComboError;
}

}  // namespace

ServerProbe::ServerProbe(ServerProbeOptions options)
    : options_(std::move(options)),
      viewer_("viewer", ViewerMemberName, calls_),
      panel_("panel", PanelMemberName, calls_),
      browser_(options_.browser ? std::make_unique<PageBrowser>(options_.pageUrl) : nullptr),
      ctrl_(ControlPorts{messages_, window_, proxySetting_}),
      children_(ctrl_, messages_, viewer_, panel_) {
  viewer_.SetMethodHandler(viewer_dispid::kGetServerTag, ServerTag);
  ctrl_.SetStrIpAddr(options_.strIpAddr);
  ctrl_.SetIHttpPort(options_.iHttpPort);
  ctrl_.SetStrUserID(options_.strUserID);
  ctrl_.SetStrUserPWD(options_.strUserPWD);
  ctrl_.SetStrIpAddrProxy(options_.strIpAddrProxy);
  ctrl_.SetIHttpPortProxy(options_.iHttpPortProxy);
}

void ServerProbe::NoteModuleRead() {
  reads_.push_back(PageRead{ModulePath(ctrl_.Properties().iSvrID), ctrl_.modulePageRead()});
}

bool ServerProbe::Run() {
  StartParams params;
  params.hostBrowser = browser_.get();
  if (!ctrl_.Start(params, children_)) {
    error_ = "the control did not start";
    return false;
  }
  reads_.push_back(PageRead{kServerInfoPath, ctrl_.serverPageRead()});
  NoteModuleRead();
  if (!options_.module) return true;

  CSkinComboBox& modules = children_.pane()->ModuleCombo();
  const int index = FindModule(modules, *options_.module);
  if (index == IComboList::kComboError) {
    // After a failed read the list is empty for a reason the report shows.
    if (FirstFailure() != nullptr) return true;
    error_ = "module " + std::to_string(*options_.module) +
                  " is not in the server's module list (" + ListedModules(modules) + ")";
    return false;
  }
  // The list's own notification, as when the user picks the entry (also the one already
  // selected).
  modules.OnSelChange(index);
  NoteModuleRead();
  return true;
}

const PageRead* ServerProbe::FirstFailure() const {
  for (const PageRead& read : reads_) {
    if (read.outcome != PageReadOutcome::kRead) return &read;
  }
  return nullptr;
}

}  // namespace pel::probe
