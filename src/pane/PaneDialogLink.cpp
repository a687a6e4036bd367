#include "pane/PaneDialogLink.h"

#include "hosted/SimpleViewer.h"
#include "pane/PelioranOperPane.h"

namespace pel {

int32_t PaneDialogLink::GetSelectedCamera() { return pane_.GetSelectedCamera(); }

int32_t PaneDialogLink::GetServerId() { return pane_.GetServerId(); }

int32_t PaneDialogLink::IsLimit() { return pane_.ServerFields().iIsLimit; }

void PaneDialogLink::EnableStreamAudio(int32_t enable) { viewer_.EnableStreamAudio(enable); }

IDispatchPort* PaneDialogLink::VoiceControl() { return pane_.VoiceControl(); }

IRequestGate* PaneDialogLink::RequestGate() { return pane_.RequestGate(); }

}  // namespace pel
