#pragma once

#include "audio/dialogs/DialogPane.h"

namespace pel {

class CPelioranOperPane;
class CSimpleViewer;

// The dialogs' view of a real operation pane and the control's viewer.
class PaneDialogLink : public IDialogPane {
 public:
  PaneDialogLink(CPelioranOperPane& pane, CSimpleViewer& viewer) : pane_(pane), viewer_(viewer) {}

  int32_t GetSelectedCamera() override;
  int32_t GetServerId() override;
  int32_t IsLimit() override;
  void EnableStreamAudio(int32_t enable) override;
  IDispatchPort* VoiceControl() override;
  IRequestGate* RequestGate() override;

 private:
  CPelioranOperPane& pane_;
  CSimpleViewer& viewer_;
};

}  // namespace pel
