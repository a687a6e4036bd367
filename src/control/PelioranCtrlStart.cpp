#include <string>
#include <vector>

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
  a.tlsHost = p.tlsHost;
  a.tlsAddress = p.tlsAddress;
  return a;
}

void StoreAddresses(const AddressProperties& a, ControlProperties& p) {
  p.strIpAddr = a.strIpAddr;
  p.iHttpPort = a.iHttpPort;
  p.strUserID = a.strUserID;
  p.strUserPWD = a.strUserPWD;
  p.strIpAddrProxy = a.strIpAddrProxy;
  p.iHttpPortProxy = a.iHttpPortProxy;
  p.tlsHost = a.tlsHost;
  p.tlsAddress = a.tlsAddress;
}

// The normalisation's messages, held until the site lock has decided: a refused page shows
// none.
class HeldMessages final : public IUserMessages {
 public:
  void ShowMessage(const std::string& text) override { texts_.push_back(text); }
  void ShowTo(IUserMessages& messages) const {
    for (const std::string& text : texts_) messages.ShowMessage(text);
  }

 private:
  std::vector<std::string> texts_;
};

}  // namespace

SiteDecision CPelioranCtrl::JudgeSite(SiteLockInputs inputs, bool addressKnown) const {
  inputs.serverHost =
      addressKnown ? NormalisedServerHost(props_.strIpAddr, ports_.resolve) : std::string();
  return DecideSiteLock(inputs, ports_.resolve);
}

bool CPelioranCtrl::Start(const StartParams& params, IControlChildren& children) {
  scale_ = DisplayScale(params.dpi);
  viewerLeft_ = scale_.Px(geometry::kViewerOriginLeft);
  viewerTop_ = scale_.Px(geometry::kViewerOriginTop);
  const bool placed = params.x >= 0 && params.y >= 0;
  x_ = placed ? params.x : 0;
  y_ = placed ? params.y : 0;

  hostBrowser_ = params.hostBrowser;
  const bool pageWroteProxy = !props_.strIpAddrProxy.empty();
  HeldMessages held;
  if (hostBrowser_ != nullptr) {
    AddressProperties addresses = AddressesOf(props_);
    NormaliseAddresses(addresses, hostBrowser_, ports_.proxySetting, held, ports_.resolve);
    StoreAddresses(addresses, props_);
  }
  const std::string browserProxy = pageWroteProxy ? std::string() : props_.strIpAddrProxy;
  if (!site_.DecideAtStart(params.siteLock, props_.strIpAddr, browserProxy).allowed) {
    return true;
  }
  held.ShowTo(ports_.messages);

  pane_ = children.CreatePane(ScaledRect(geometry::kPaneRect, scale_), geometry::kPaneId);
  if (pane_ == nullptr) return false;
  // Without the viewer component the control still starts; its wrapper then does nothing.
  viewer_.Attach(
      children.CreateViewer(ScaledRect(geometry::kViewerCreateRect, scale_), geometry::kViewerId));

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
  ports_.window.SizePane(scale_.Px(geometry::kPaneWidth), scale_.Px(geometry::kPaneHeight));
  ports_.window.Invalidate(true);
}

}  // namespace pel
