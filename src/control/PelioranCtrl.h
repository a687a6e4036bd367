#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "control/ControlGeometry.h"
#include "control/ControlProperties.h"
#include "control/OperPaneLink.h"
#include "control/SiteGuard.h"
#include "net/ResolveServerAddress.h"
#include "hosted/SimpleViewer.h"
#include "ports/BrowserProxySetting.h"
#include "ports/ControlChildren.h"
#include "ports/ControlWindow.h"
#include "ports/HostBrowser.h"
#include "ports/PropertyExchange.h"
#include "ports/UserMessages.h"
#include "serverinfo/PageReadOutcome.h"
#include "serverinfo/ServerRecords.h"

namespace pel {

// What the control's window creation hands to the start sequence.
struct StartParams {
  int x = 0;                              // window position in the parent, from the
  int y = 0;                              //   creation parameters
  IHostBrowser* hostBrowser = nullptr;    // the hosting web browser, null when there is none
  SiteLockInputs siteLock;                // what the shell gathered for the site lock; its
                                          //   serverHost is the start's own
  int dpi = DisplayScale::kBaseDpi;       // the window's display scale: the children's
                                          //   places and sizes follow it
};

// The services the control uses for its whole life.
struct ControlPorts {
  IUserMessages& messages;
  IControlWindow& window;
  IBrowserProxySetting& proxySetting;
  NameResolver resolve = LookupHostIPv4;
  RequireTlsReader requireTls = {};
};

// The Pelioran control: its properties and their persistence, the start sequence, the server
// and module state, the viewer's placement and the viewer's events. The Windows shell (COM
// object, window, sites) forwards to it.
class CPelioranCtrl {
 public:
  explicit CPelioranCtrl(ControlPorts ports);
  CPelioranCtrl(const CPelioranCtrl&) = delete;
  CPelioranCtrl& operator=(const CPelioranCtrl&) = delete;

  // --- Properties --------------------------------------------------------------------------
  const ControlProperties& Properties() const { return props_; }
  // The dispatch interface's get and put. A put only stores the value and marks the control
  // modified; it takes effect at the next start, module set-up or pane action.
  Variant GetProperty(int32_t dispid) const { return GetPropertyByDispid(props_, dispid); }
  PutResult PutProperty(int32_t dispid, const Variant& value);
  // Typed puts, the same as a put by DISPID.
  void SetStrIpAddr(const std::string& v) { PutProperty(kDispidStrIpAddr, Variant::Bstr(v)); }
  void SetIHttpPort(int32_t v) { PutProperty(kDispidIHttpPort, Variant::I4(v)); }
  void SetStrIpAddrProxy(const std::string& v) { PutProperty(kDispidStrIpAddrProxy, Variant::Bstr(v)); }
  void SetIHttpPortProxy(int32_t v) { PutProperty(kDispidIHttpPortProxy, Variant::I4(v)); }
  void SetISvrID(int32_t v) { PutProperty(kDispidISvrID, Variant::I4(v)); }
  void SetStrUserID(const std::string& v) { PutProperty(kDispidStrUserID, Variant::Bstr(v)); }
  void SetStrUserPWD(const std::string& v) { PutProperty(kDispidStrUserPWD, Variant::Bstr(v)); }
  void SetIOperPaneCtls(int32_t v) { PutProperty(kDispidIOperPaneCtls, Variant::I4(v)); }

  bool IsModified() const { return modified_; }
  void SetModifiedFlag(bool modified = true) { modified_ = modified; }

  // Loads or saves the persisted properties.
  void DoPropExchange(IPropertyExchange& exchange);
  // Restores every persisted property to its default, through the same exchange.
  void OnResetState();

  // --- Window life -------------------------------------------------------------------------
  // The start sequence after the frame's own creation: viewer origin, window position, the
  // hosting browser and address normalisation, the pane and the viewer, the server page, the
  // first module and camera mode. False when the pane cannot be made (window creation fails).
  // A page the site lock refuses gets neither pane nor viewer, no read and no message: the
  // window only shows RefusalLine().
  bool Start(const StartParams& params, IControlChildren& children);

  // Binds the pane and the viewer component (null: none) without the start sequence.
  void AttachPane(IOperPaneLink* pane) { pane_ = pane; }
  void AttachViewer(IDispatchPort* viewer) { viewer_.Attach(viewer); }

  void OnMove(int x, int y);
  void OnSize(int cx, int cy);
  // WM_CAMERA_LAYOUT.
  void OnCameraLayout() { RecomputeViewerLayout(); }

  // Viewer event 3: camera `camera` was selected in the viewer.
  void OnViewerCameraSelected(int32_t camera);
  // Viewer event 7: the picture width of `camera`.
  void OnViewerPictureWidth(int16_t camera, int32_t width);

  // The site lock: before the start, its decision for the page (IObjectSafety), with the
  // server address as it stands when `addressKnown`, else with none yet; after the start, the
  // start's decision and the gate of every later request.
  SiteDecision JudgeSite(SiteLockInputs inputs, bool addressKnown) const;
  bool SiteAllowed() const { return site_.allowed(); }
  const std::string& RefusalLine() const { return site_.decision().refusal; }
  IRequestGate& RequestGate() { return site_; }

  // What the control paints, for its bounds.
  ControlDrawing Drawing(const Rect& bounds) const {
    return DrawingFor(bounds, x_, y_, scale_);
  }

  // --- Operations ----------------------------------------------------------------------------
  void RecomputeViewerLayout();
  // Enables the pane's PTZ panel for `camera` when it has PTZ and the user the right, else
  // disables it.
  void AimPtzPanel(int32_t camera);
  // The server information page and the module set-up work on the pane: without one they do
  // nothing.
  void ReadServerInfo();
  void SetUpModule(int32_t m);

  // --- State ---------------------------------------------------------------------------------
  int viewerOriginLeft() const { return viewerLeft_; }
  int viewerOriginTop() const { return viewerTop_; }
  int32_t iSelCam() const { return iSelCam_; }
  void SetSelectedCamera(int32_t camera);
  int32_t iCamsOn() const { return iCamsOn_; }
  int32_t previousCamsOn() const { return iCamsOnPrev_; }
  const ServerInfoRecord& ServerInfo() const { return server_; }
  const ModuleRecord& Module() const { return module_; }
  int32_t iType3Count() const { return server_.iType3Count; }
  int32_t bVoiceSerial() const { return server_.bVoiceSerial; }
  const AccessWords& dwProperty() const { return server_.dwProperty; }
  int32_t iModuleCount() const { return server_.iModuleCount; }
  int32_t iAudioDeviceType() const { return server_.iAudioDeviceType; }
  int32_t iNumCam() const { return module_.iNumCam; }
  int32_t iNumDo() const { return module_.iNumDo; }
  int32_t iVideoFormat() const { return module_.iVideoFormat; }
  int32_t iViewableCams() const { return module_.iViewableCams; }
  const std::string& strServerTag() const { return module_.strServerTag; }
  // How the last read of the server information page and of a module page ended.
  PageReadOutcome serverPageRead() const { return serverPageRead_; }
  PageReadOutcome modulePageRead() const { return modulePageRead_; }

  // Double size (the 1x and 2x commands): cameras latched before 2x, and the enlarged camera
  // (-1 when none).
  uint32_t doubleViewMask() const { return doubleMask_; }
  int32_t doubleViewCamera() const { return doubleCamera_; }
  void SetDoubleView(uint32_t mask, int32_t camera) {
    doubleMask_ = mask;
    doubleCamera_ = camera;
  }

  IHostBrowser* hostBrowser() const { return hostBrowser_; }
  IOperPaneLink* pane() const { return pane_; }
  CSimpleViewer& viewer() { return viewer_; }
  int windowX() const { return x_; }
  int windowY() const { return y_; }
  int windowCx() const { return cx_; }
  int windowCy() const { return cy_; }
  // Picture width of camera 1..6; 0 for other numbers.
  int32_t pictureWidth(int camera) const;

 private:
  void MoveViewerTo(int width);
  void ApplyFailedModuleRead();

  ControlPorts ports_;
  bool modified_ = false;

  // In the order the control declares its state.
  int viewerLeft_ = 0;
  int viewerTop_ = 0;
  int32_t iSelCam_ = 1;
  ServerInfoRecord server_;
  int32_t iCamsOn_ = 1;
  int32_t iCamsOnPrev_ = 0;
  ModuleRecord module_;
  CSimpleViewer viewer_;
  uint32_t doubleMask_ = 0;
  int32_t doubleCamera_ = -1;
  IHostBrowser* hostBrowser_ = nullptr;
  IOperPaneLink* pane_ = nullptr;
  int x_ = 0;
  int y_ = 0;
  DisplayScale scale_;
  int cx_ = 0;
  int cy_ = 0;
  std::array<int32_t, 6> pictureWidth_;
  ControlProperties props_;
  PageReadOutcome serverPageRead_ = PageReadOutcome::kNotRead;
  PageReadOutcome modulePageRead_ = PageReadOutcome::kNotRead;
  SiteGuard site_{ports_.resolve, ports_.requireTls};
};

}  // namespace pel
