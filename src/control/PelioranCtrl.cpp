#include "control/PelioranCtrl.h"

#include <utility>

namespace pel {

namespace {
bool IsCamera(int32_t camera) { return camera >= 1 && camera <= 6; }
}  // namespace

CPelioranCtrl::CPelioranCtrl(ControlPorts ports) : ports_(std::move(ports)) {
  pictureWidth_.fill(geometry::kDefaultPictureWidth);
}

PutResult CPelioranCtrl::PutProperty(int32_t dispid, const Variant& value) {
  const PutResult result = PutPropertyByDispid(props_, dispid, value);
  if (result == PutResult::kOk) SetModifiedFlag();
  return result;
}

void CPelioranCtrl::DoPropExchange(IPropertyExchange& exchange) {
  ExchangeProperties(exchange, props_);
}

void CPelioranCtrl::OnResetState() {
  ResetPropExchange reset;
  DoPropExchange(reset);
}

void CPelioranCtrl::OnSize(int cx, int cy) {
  cx_ = cx;
  cy_ = cy;
}

void CPelioranCtrl::SetSelectedCamera(int32_t camera) {
  // Anything but a camera 1..6 or 0 (none) would later index per-camera tables and buttons.
  iSelCam_ = camera == 0 || IsCamera(camera) ? camera : 0;
}

int32_t CPelioranCtrl::pictureWidth(int camera) const {
  return IsCamera(camera) ? pictureWidth_[static_cast<size_t>(camera - 1)] : 0;
}

}  // namespace pel
