#include "pelprobe/JsonWriter.h"
#include "pelprobe/ServerReport.h"

namespace pel::probe {

namespace {

void WriteVariant(JsonWriter& json, const Variant& v) {
  if (v.IsInteger()) {
    json.Int(v.i);
    return;
  }
  switch (v.vt) {
    case kVtBool: json.Bool(v.b); break;
    case kVtR8: json.Double(v.d); break;
    case kVtBstr: json.String(v.text); break;
    case kVtByteArray:
      json.BeginArray(true);
      for (const uint8_t b : v.bytes) json.Int(b);
      json.EndArray();
      break;
    default: json.Null();
  }
}

// A put's value, a get's answer, a method's arguments.
void WriteCallValue(JsonWriter& json, const ComponentCall& call) {
  if (call.kind != CallKind::kMethod) {
    WriteVariant(json, call.value);
    return;
  }
  json.BeginArray(true);
  for (const Variant& arg : call.args) WriteVariant(json, arg);
  json.EndArray();
}

void WriteList(JsonWriter& json, const char* key, const CSkinComboBox* list) {
  json.Key(key).BeginArray();
  for (int i = 0; list != nullptr && i < list->count(); ++i) {
    json.BeginObject(true).Key("text").String(list->GetText(i));
    json.Key("data").Int(list->GetItemData(i)).EndObject();
  }
  json.EndArray();
}

}  // namespace

std::string ServerReportJson(const ServerProbe& probe) {
  const CPelioranCtrl& ctrl = probe.ctrl();
  const ControlProperties& p = ctrl.Properties();
  const ModuleRecord& m = ctrl.Module();
  CPelioranOperPane* pane = probe.pane();
  const PaneServerFields fields = pane != nullptr ? pane->ServerFields() : PaneServerFields{};

  std::string out;
  JsonWriter json(out);
  json.BeginObject();
  json.Key("strIpAddr").String(p.strIpAddr);
  json.Key("iHttpPort").Int(p.iHttpPort);
  json.Key("strUserID").String(p.strUserID);
  json.Key("strUserPWD").String(p.strUserPWD);
  json.Key("strIpAddrProxy").String(p.strIpAddrProxy);
  json.Key("iHttpPortProxy").Int(p.iHttpPortProxy);
  json.Key("iBuildDate").Int(fields.iBuildDate);
  json.Key("iUdpPort").Int(fields.iUdpPort);
  json.Key("iIsLimit").Int(fields.iIsLimit);
  json.Key("dwProperty").BeginArray(true);
  for (const uint32_t word : ctrl.dwProperty()) json.Unsigned(word);
  json.EndArray();
  json.Key("iAudioDeviceType").Int(ctrl.iAudioDeviceType());
  json.Key("iModuleCount").Int(ctrl.iModuleCount());
  json.Key("iType3Count").Int(ctrl.iType3Count());
  json.Key("bVoiceSerial").Int(ctrl.bVoiceSerial());
  json.Key("iSvrID").Int(p.iSvrID);
  json.Key("iNumCam").Int(m.iNumCam);
  json.Key("iVideoFormat").Int(m.iVideoFormat);
  json.Key("iNumDo").Int(m.iNumDo);
  json.Key("dwViewRights").Unsigned(m.dwViewRights);
  json.Key("dwPtzRights").Unsigned(m.dwPtzRights);
  json.Key("dwRelayRights").Unsigned(m.dwRelayRights);
  json.Key("dwAudioRights").Unsigned(m.dwAudioRights);
  json.Key("dwPtzInstFlag").Unsigned(m.dwPtzInstFlag);
  json.Key("iPtzFuncOptFlag").Int(m.iPtzFuncOptFlag);
  json.Key("bPtzInstalled").BeginArray(true);
  for (const int32_t installed : m.bPtzInstalled) json.Int(installed);
  json.EndArray();
  json.Key("iSelCam").Int(ctrl.iSelCam());
  json.Key("iCamsOn").Int(ctrl.iCamsOn());
  json.Key("iViewableCams").Int(m.iViewableCams);
  json.Key("iOperPaneCtls").Int(p.iOperPaneCtls);
  json.Key("strServerTag").String(m.strServerTag);

  WriteList(json, "modules", pane != nullptr ? &pane->ModuleCombo() : nullptr);
  WriteList(json, "speedList", pane != nullptr ? &pane->SpeedCombo() : nullptr);
  json.Key("messages").BeginArray();
  for (const std::string& text : probe.messages()) json.String(text);
  json.EndArray();
  json.Key("calls").BeginArray();
  for (const ComponentCall& call : probe.calls()) {
    json.BeginObject(true);
    json.Key("component").String(call.component);
    json.Key("dispid").Int(call.dispid);
    json.Key("name").String(call.name);
    json.Key("value");
    WriteCallValue(json, call);
    json.EndObject();
  }
  json.EndArray();
  json.EndObject();
  return out;
}

}  // namespace pel::probe
