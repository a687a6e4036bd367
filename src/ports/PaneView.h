#pragma once

#include "ports/ControlChildren.h"
#include "ports/SkinWindows.h"

namespace pel {

class CSkinButton;
class CSkinComboBox;
class IDispatchPort;

// The operation pane's child controls as its view knows them: the 19 skinned buttons by their
// index (0 CAM .. 18 Speed label), then the two lists and the serial/PTZ panel.
enum PaneControl : int {
  kPaneCtlModuleList = 19,
  kPaneCtlSpeedList = 20,
  kPaneCtlPanel = 21,
  kPaneControlCount = 22,
};

// The pane's window as the pane's model drives it. The Windows shell implements it with the
// form view and real child windows (owner-drawn buttons, combo boxes, the hosted panel and
// voice component); what it creates lives until the pane's window is destroyed. Positions are
// in the pane's client coordinates.
class IPaneView {
 public:
  virtual ~IPaneView() = default;

  // The window of skinned button `control` (a visible, owner-drawn child with `childId` at
  // button.rect()), bound to its model with button.AttachWindow. False when it cannot be made.
  virtual bool CreateButton(int control, int childId, CSkinButton& button) = 0;
  // A visible drop-down list with a vertical scroll bar at `rect`, bound to its model with
  // combo.AttachWindow; false when it cannot be made.
  virtual bool CreateComboBox(int control, int childId, const ChildRect& rect,
                              CSkinComboBox& combo) = 0;
  // The skin bitmap resources the buttons cut their images from.
  virtual ISkinImageSource& SkinImages() = 0;
  // The hosted serial/PTZ panel as child `childId`; null when the component cannot be created.
  virtual IDispatchPort* CreatePanel(int childId) = 0;
  // Loads the background bitmap `resource` as a device-independent section of the given size.
  virtual bool LoadBackground(int resource, int width, int height) = 0;

  virtual void MoveControl(int control, int x, int y, int width, int height) = 0;
  virtual void ShowControl(int control, bool show) = 0;
  virtual void EnableControl(int control, bool enable) = 0;
  // Sizes the pane's own window, keeping its position.
  virtual void ResizePane(int width, int height) = 0;

  // The hosted voice component as child `childId`; null when it cannot be created (not
  // installed). It lives until DestroyVoiceControl or the pane's window goes.
  virtual IDispatchPort* CreateVoiceControl(int childId) = 0;
  virtual void DestroyVoiceControl() = 0;
};

}  // namespace pel
