#include "pelprobe/DispidNames.h"

#include <map>

#include "hosted/SfiUartDispids.h"
#include "hosted/SimpleViewerDispids.h"

namespace pel::probe {

namespace {

using NameTable = std::map<int32_t, std::string>;

void AddFamily(NameTable& names, const int32_t (&ids)[6], const std::string& stem) {
  for (int k = 0; k < 6; ++k) names[ids[k]] = stem + std::to_string(k + 1);
}

NameTable ViewerNames() {
  namespace vd = viewer_dispid;
  NameTable n;
  AddFamily(n, vd::kScaleCam, "dScaleCam");
  AddFamily(n, vd::kConnectCam, "bConnectCam");
  AddFamily(n, vd::kShowCam, "bShowCam");
  AddFamily(n, vd::kViewOption, "bViewOption");
  AddFamily(n, vd::kCamName, "strCamName");
  AddFamily(n, vd::kRefreshCam, "bRefreshCam");
  n[vd::kServerAddr] = "strServerAddr";
  n[vd::kServerPort] = "iServerPort";
  n[vd::kUserName] = "strUserName";
  n[vd::kPassword] = "strPassword";
  n[vd::kServerId] = "iServerId";
  n[vd::kSingleView] = "bSingleView";
  n[vd::kFrameInterval] = "iFrameInterval";
  n[vd::kSequence] = "bSequence";
  n[vd::kViewOption7] = "iViewOption7";
  n[vd::kTileWidth] = "iTileWidth";
  n[vd::kTileHeight] = "iTileHeight";
  n[vd::kProxyAddr] = "strProxyAddr";
  n[vd::kProxyPort] = "iProxyPort";
  n[vd::kViewOption8] = "bViewOption8";
  n[vd::kGetJpegFrame] = "GetJpegFrame";
  n[vd::kGetBmpFrame] = "GetBmpFrame";
  n[vd::kGetServerTag] = "GetServerTag";
  n[vd::kSelectCamera] = "SelectCamera";
  n[vd::kClearSelection] = "ClearSelection";
  n[vd::kGetCodecType] = "GetCodecType";
  n[vd::kEnableStreamAudio] = "EnableStreamAudio";
  return n;
}

NameTable PanelNames() {
  namespace ud = uart_dispid;
  return {
      {ud::kPanelMode, "iPanelMode"},       {ud::kFuncOptions, "iFuncOptions"},
      {ud::kInitMode, "iInitMode"},         {ud::kServerAddr, "strServerAddr"},
      {ud::kServerPort, "iServerPort"},     {ud::kUserName, "strUserName"},
      {ud::kPassword, "strPassword"},       {ud::kChannel, "iChannel"},
      {ud::kServerId, "iServerId"},         {ud::kUartParam14, "iUartParam14"},
      {ud::kUartParam15, "strUartParam15"}, {ud::kEnablePanel, "EnablePanel"},
      {ud::kEnablePtz, "EnablePtz"},        {ud::kApplySettings, "ApplySettings"},
      {ud::kRefreshPanel, "RefreshPanel"},
  };
}

std::string Lookup(const NameTable& names, int32_t dispid) {
  const auto it = names.find(dispid);
  return it != names.end() ? it->second : "#" + std::to_string(dispid);
}

}  // namespace

std::string ViewerMemberName(int32_t dispid) {
  static const NameTable names = ViewerNames();
  return Lookup(names, dispid);
}

std::string PanelMemberName(int32_t dispid) {
  static const NameTable names = PanelNames();
  return Lookup(names, dispid);
}

}  // namespace pel::probe
