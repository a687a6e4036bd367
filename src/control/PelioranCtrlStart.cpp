#include "control/AddressNormaliser.h"
#include "control/PelioranCtrl.h"

namespace pel {

namespace {

AddressProperties AddressesOf(const ControlProperties& p) {
  AddressProperties a;
  a.strIpAddr = p.strIpAddr;
  a.iHttpPort = p.iHttpPort;
  a.strUserID = p.strUserID;
  a.strUserPWD = p.strUserPWD;
  a.strIpAddrProxy = p.strIpAddrProxy;
  a.iHttpPortProxy = p.iHttpPortProxy;
  return a;
}

void StoreAddresses(const AddressProperties& a, ControlProperties& p) {
  p.strIpAddr = a.strIpAddr;
  p.iHttpPort = a.iHttpPort;
  p.strUserID = a.strUserID;
  p.strUserPWD = a.strUserPWD;
  p.strIpAddrProxy = a.strIpAddrProxy;
  p.iHttpPortProxy = a.iHttpPortProxy;
}

}  // namespace

bool CPelioranCtrl::Start(const StartParams& params, IControlChildren& children) {
  viewerLeft_ = geometry::kViewerOriginLeft;
  viewerTop_ = geometry::kViewerOriginTop;
  const bool placed = params.x >= 0 && params.y >= 0;
  x_ = placed ? params.x : 0;
  y_ = placed ? params.y : 0;

  hostBrowser_ = params.hostBrowser;
  if (hostBrowser_ != nullptr) {
    AddressProperties addresses = AddressesOf(props_);
    NormaliseAddresses(addresses, hostBrowser_, ports_.proxySetting, ports_.messages,
                       ports_.resolve);
    StoreAddresses(addresses, props_);
  }

  pane_ = children.CreatePane(geometry::kPaneRect, geometry::kPaneId);
  if (pane_ == nullptr) return false;
  // Without the viewer component the control still starts; its wrapper then does nothing.
  viewer_.Attach(children.CreateViewer(geometry::kViewerCreateRect, geometry::kViewerId));

  ReadServerInfo();

  IComboList& modules = pane_->ModuleList();
  SetUpModule(modules.GetItemData(modules.GetCurSel()));

  pane_->SetPaneMode(kPaneModeCamera);
  return true;
}

void CPelioranCtrl::OnMove(int x, int y) {
  x_ = x;
  y_ = y;
  viewer_.SetBRefreshCam(iSelCam_, true);
  ports_.window.MoveViewer(x_ + viewerLeft_, y_ + viewerTop_, geometry::ViewerWidth(iCamsOn_),
                           geometry::ViewerHeight(module_.iVideoFormat), true);
  ports_.window.SizePane(geometry::kPaneWidth, geometry::kPaneHeight);
  ports_.window.Invalidate(true);
}

}  // namespace pel
