#pragma once

#include <cstdint>
#include <string>

#include "ports/PropertyExchange.h"
#include "ports/Variant.h"

namespace pel {

// The control's dispatch properties (interface _DPelioran) with their defaults.
struct ControlProperties {
  std::string strIpAddr;
  int32_t iHttpPort = 80;
  std::string strIpAddrProxy;
  int32_t iHttpPortProxy = 8080;
  int32_t iSvrID = 0;
  std::string strUserID;
  std::string strUserPWD;
  int32_t iOperPaneCtls = 0;  // not persisted; every module set-up computes it
  bool bGroup = true;
  bool bTour = true;
  bool bPower = true;
  bool bLight = true;
  bool bAux1 = false;
  bool bAux2 = true;

  // Not properties: the start's normalisation sets them when the server was written as an
  // "https://" URL (or the page came over https). `tlsHost` is the host as written, which the
  // certificate must name; `tlsAddress` the dotted address it resolved to. Reads go over TLS
  // only while strIpAddr still holds that address.
  std::string tlsHost;
  std::string tlsAddress;
};

// The host a read of the server must verify over TLS; empty for plain http.
inline std::string ServerTlsHost(const ControlProperties& props) {
  return !props.tlsHost.empty() && props.strIpAddr == props.tlsAddress ? props.tlsHost
                                                                      : std::string();
}

// DISPIDs of _DPelioran: the properties in declaration order, and the About box.
enum ControlDispid : int32_t {
  kDispidStrIpAddr = 1,
  kDispidIHttpPort = 2,
  kDispidStrIpAddrProxy = 3,
  kDispidIHttpPortProxy = 4,
  kDispidISvrID = 5,
  kDispidStrUserID = 6,
  kDispidStrUserPWD = 7,
  kDispidIOperPaneCtls = 8,
  kDispidBGroup = 9,
  kDispidBTour = 10,
  kDispidBPower = 11,
  kDispidBLight = 12,
  kDispidBAux1 = 13,
  kDispidBAux2 = 14,
  kDispidAboutBox = -552,
};

// Version of the persisted state: major 1, minor 0.
constexpr uint32_t kPersistVersion = 0x00010000;

// One property: DISPID, dispatch name, VARIANT type and its member (one of the three).
struct PropertyInfo {
  int32_t dispid;
  const char* name;
  uint16_t vt;  // kVtBstr, kVtI4 or kVtBool
  std::string ControlProperties::*text;
  int32_t ControlProperties::*number;
  bool ControlProperties::*flag;
};

constexpr int kPropertyCount = 14;

// The 14 properties in DISPID order.
const PropertyInfo (&PropertyTable())[kPropertyCount];

// The property with `dispid`, or null.
const PropertyInfo* FindProperty(int32_t dispid);

// Result of a put by DISPID.
enum class PutResult { kOk, kUnknownDispid, kTypeMismatch };

// Reads a property as a VARIANT of its type; VT_EMPTY for an unknown DISPID.
Variant GetPropertyByDispid(const ControlProperties& props, int32_t dispid);

// Stores a value: a text from VT_BSTR, a long from any integer type, a BOOL from VT_BOOL or
// any integer type (non-zero is TRUE). Other types are refused.
PutResult PutPropertyByDispid(ControlProperties& props, int32_t dispid, const Variant& value);

// Exchanges the persisted state: the version, the stock state, then iSvrID, strIpAddr,
// iHttpPort, strIpAddrProxy, iHttpPortProxy, strUserID, strUserPWD, bGroup, bTour, bPower,
// bLight, bAux1, bAux2 under their dispatch names with their defaults.
void ExchangeProperties(IPropertyExchange& exchange, ControlProperties& props);

}  // namespace pel
