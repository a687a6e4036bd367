#include <limits>

#include "control/PelioranCtrl.h"
#include "control/PageFetch.h"
#include "serverinfo/ServerPage.h"

namespace pel {

void CPelioranCtrl::ReadServerInfo() {
  if (pane_ == nullptr) return;
  PaneServerFields& paneFields = pane_->ServerFields();
  IComboList& modules = pane_->ModuleList();

  PageBuffer page;
  serverPageRead_ = FetchPage(kServerInfoPath, props_, ports_.messages, page, &site_);
  if (serverPageRead_ != PageReadOutcome::kRead) {
    // The build date, the audio device type and the type-3 count keep their values.
    paneFields.iUdpPort = 32001;
    paneFields.iIsLimit = 0;
    server_.dwProperty.fill(0);
    modules.ResetContent();
    server_.iModuleCount = 0;
    server_.bVoiceSerial = 0;
    return;
  }

  const ServerPageValues values = ParseServerPage(page.Text(), server_.dwProperty);
  paneFields = values.pane;
  server_.dwProperty = values.dwProperty;
  server_.iAudioDeviceType = values.iAudioDeviceType;

  modules.ResetContent();
  int32_t added = 0;
  for (const ModuleListEntry& entry : values.modules) {
    modules.AddString(entry.name);
    modules.SetItemData(added, entry.module);
    ++added;
  }
  const int32_t room = std::numeric_limits<int32_t>::max() - server_.iType3Count;
  server_.iType3Count += values.type3Slots < room ? values.type3Slots : room;

  modules.SetCurSel(0);
  server_.iModuleCount = added;
  server_.bVoiceSerial = values.bVoiceSerial;
}

}  // namespace pel
