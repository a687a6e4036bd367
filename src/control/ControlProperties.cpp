#include "control/ControlProperties.h"

namespace pel {

namespace {

using P = ControlProperties;

const PropertyInfo kTable[kPropertyCount] = {
    {kDispidStrIpAddr, "strIpAddr", kVtBstr, &P::strIpAddr, nullptr, nullptr},
    {kDispidIHttpPort, "iHttpPort", kVtI4, nullptr, &P::iHttpPort, nullptr},
    {kDispidStrIpAddrProxy, "strIpAddrProxy", kVtBstr, &P::strIpAddrProxy, nullptr, nullptr},
    {kDispidIHttpPortProxy, "iHttpPortProxy", kVtI4, nullptr, &P::iHttpPortProxy, nullptr},
    {kDispidISvrID, "iSvrID", kVtI4, nullptr, &P::iSvrID, nullptr},
    {kDispidStrUserID, "strUserID", kVtBstr, &P::strUserID, nullptr, nullptr},
    {kDispidStrUserPWD, "strUserPWD", kVtBstr, &P::strUserPWD, nullptr, nullptr},
    {kDispidIOperPaneCtls, "iOperPaneCtls", kVtI4, nullptr, &P::iOperPaneCtls, nullptr},
    {kDispidBGroup, "bGroup", kVtBool, nullptr, nullptr, &P::bGroup},
    {kDispidBTour, "bTour", kVtBool, nullptr, nullptr, &P::bTour},
    {kDispidBPower, "bPower", kVtBool, nullptr, nullptr, &P::bPower},
    {kDispidBLight, "bLight", kVtBool, nullptr, nullptr, &P::bLight},
    {kDispidBAux1, "bAux1", kVtBool, nullptr, nullptr, &P::bAux1},
    {kDispidBAux2, "bAux2", kVtBool, nullptr, nullptr, &P::bAux2},
};

// The persisted properties in the order they are exchanged.
constexpr int32_t kPersistOrder[] = {
    kDispidISvrID,     kDispidStrIpAddr,  kDispidIHttpPort, kDispidStrIpAddrProxy,
    kDispidIHttpPortProxy, kDispidStrUserID, kDispidStrUserPWD, kDispidBGroup,
    kDispidBTour,      kDispidBPower,     kDispidBLight,    kDispidBAux1,
    kDispidBAux2,
};

}  // namespace

const PropertyInfo (&PropertyTable())[kPropertyCount] { return kTable; }

const PropertyInfo* FindProperty(int32_t dispid) {
  for (const PropertyInfo& info : kTable) {
    if (info.dispid == dispid) return &info;
  }
  return nullptr;
}

Variant GetPropertyByDispid(const ControlProperties& props, int32_t dispid) {
  const PropertyInfo* info = FindProperty(dispid);
  if (info == nullptr) return Variant{};
  if (info->text) return Variant::Bstr(props.*(info->text));
  if (info->number) return Variant::I4(props.*(info->number));
  return Variant::Bool(props.*(info->flag));
}

PutResult PutPropertyByDispid(ControlProperties& props, int32_t dispid, const Variant& value) {
  const PropertyInfo* info = FindProperty(dispid);
  if (info == nullptr) return PutResult::kUnknownDispid;
  if (info->text) {
    if (value.vt != kVtBstr) return PutResult::kTypeMismatch;
    props.*(info->text) = value.text;
  } else if (info->number) {
    if (!value.IsInteger()) return PutResult::kTypeMismatch;
    props.*(info->number) = value.i;
  } else {
    if (value.vt != kVtBool && !value.IsInteger()) return PutResult::kTypeMismatch;
    props.*(info->flag) = value.AsBool();
  }
  return PutResult::kOk;
}

void ExchangeProperties(IPropertyExchange& exchange, ControlProperties& props) {
  static const ControlProperties defaults;
  exchange.ExchangeVersion(kPersistVersion);
  exchange.ExchangeStockState();
  for (const int32_t dispid : kPersistOrder) {
    const PropertyInfo& info = *FindProperty(dispid);
    if (info.text) {
      exchange.ExchangeText(info.name, props.*(info.text), defaults.*(info.text));
    } else if (info.number) {
      exchange.ExchangeLong(info.name, props.*(info.number), defaults.*(info.number));
    } else {
      exchange.ExchangeBool(info.name, props.*(info.flag), defaults.*(info.flag));
    }
  }
}

}  // namespace pel
