#pragma once

#include <cstdint>

#include "control/ComboList.h"
#include "serverinfo/ServerRecords.h"

namespace pel {

class CSFI_UART;

// The operation pane's 19 skinned buttons, by index.
enum PaneButton : int {
  kButtonCam = 0,     // camera mode (3000)
  kButtonPtz = 1,     // PTZ mode (3001)
  kButtonCam1 = 2,    // Cam1 .. Cam6 are 2 .. 7 (3002 .. 3007)
  kButtonAll = 8,
  kButtonNone = 9,
  kButtonSequence = 10,
  kButtonPause = 11,
  kButtonSnap = 12,
  kButton1x = 13,
  kButton2x = 14,
  kButtonVoice = 15,
  kButtonRelay = 16,
  kButtonModuleLabel = 17,
  kButtonSpeedLabel = 18,
  kPaneButtonCount = 19,
};

// Button states given to SetState: 1 normal (a toggle unlatches), 2 pressed or latched,
// 4 disabled.
enum ButtonState : int {
  kButtonNormal = 1,
  kButtonLatched = 2,
  kButtonDisabled = 4,
};

// Pane modes for SetPaneMode.
enum PaneMode : int {
  kPaneModeCamera = 1,
  kPaneModePtz = 2,
};

// The pane's camera command flags.
struct PaneCameraFlags {
  int32_t sequenceRunning = 0;
  int32_t paused = 0;
  int32_t allPressed = 0;
  int32_t doublePressed = 0;
};

// The operation pane (CPelioranOperPane) as the control sees it: what the server page and the
// module set-up fill in, the hosted serial/PTZ panel the pane owns, and the mode switch. The
// pane implements this; the control holds a pointer to it for as long as its window lives.
class IOperPaneLink {
 public:
  virtual ~IOperPaneLink() = default;

  // The module list (child 3018): entry texts are module names, item data module numbers.
  virtual IComboList& ModuleList() = 0;
  // The speed list: item data is the viewer's frame interval.
  virtual IComboList& SpeedList() = 0;

  // SetState of button `index` (PaneButton) with a ButtonState; other indexes are ignored.
  virtual void SetButtonState(int index, int state) = 0;

  virtual PaneServerFields& ServerFields() = 0;
  virtual PaneCameraFlags& CameraFlags() = 0;

  // The serial/PTZ panel (child 209).
  virtual CSFI_UART& Uart() = 0;

  // Lays the buttons out for camera mode (1) from the control's iOperPaneCtls, or shows the
  // serial/PTZ panel (2).
  virtual void SetPaneMode(int mode) = 0;
};

}  // namespace pel
