#include "ViewerStandin.h"

#include <windowsx.h>

#include <cstring>

#include "JpegWriter.h"
#include "MemberTable.h"
#include "StandinIds.h"
#include "TilePainter.h"
#include "com/BStr.h"
#include "com/ComObject.h"
#include "hosted/SimpleViewerDispids.h"

namespace pel::standin {

namespace vd = viewer_dispid;

namespace {

constexpr VARTYPE kVariantRef = VT_VARIANT | VT_BYREF;

com::DispatchTable ViewerMembers() {
  std::vector<com::DispMember> m;
  AddFamily(m, vd::kScaleCam, L"dScaleCam", VT_R8);
  AddFamily(m, vd::kConnectCam, L"bConnectCam", VT_BOOL);
  m.push_back(Property(vd::kServerAddr, L"strServerAddr", VT_BSTR));
  m.push_back(Property(vd::kServerPort, L"iServerPort", VT_I4));
  m.push_back(Property(vd::kUserName, L"strUserName", VT_BSTR));
  m.push_back(Property(vd::kPassword, L"strPassword", VT_BSTR));
  m.push_back(Property(vd::kServerId, L"iServerId", VT_I4));
  AddFamily(m, vd::kShowCam, L"bShowCam", VT_BOOL);
  m.push_back(Property(vd::kSingleView, L"bSingleView", VT_BOOL));
  m.push_back(Property(vd::kFrameInterval, L"iFrameInterval", VT_I4));
  AddFamily(m, vd::kViewOption, L"bViewOption", VT_BOOL);
  AddFamily(m, vd::kCamName, L"strCamName", VT_BSTR);
  m.push_back(Property(vd::kSequence, L"bSequence", VT_BOOL));
  AddFamily(m, vd::kRefreshCam, L"bRefreshCam", VT_BOOL);
  m.push_back(Property(vd::kViewOption7, L"iViewOption7", VT_I4));
  m.push_back(Property(vd::kTileWidth, L"iTileWidth", VT_I4));
  m.push_back(Property(vd::kTileHeight, L"iTileHeight", VT_I4));
  m.push_back(Property(vd::kProxyAddr, L"strProxyAddr", VT_BSTR));
  m.push_back(Property(vd::kProxyPort, L"iProxyPort", VT_I4));
  m.push_back(Property(vd::kViewOption8, L"bViewOption8", VT_BOOL));
  const std::vector<VARTYPE> frame = {kVariantRef, kVariantRef, VT_I2};
  m.push_back(Method(vd::kGetJpegFrame, L"GetJpegFrame", VT_BOOL, frame));
  m.push_back(Method(vd::kGetBmpFrame, L"GetBmpFrame", VT_BOOL, frame));
  m.push_back(Method(vd::kGetServerTag, L"GetServerTag", VT_BSTR));
  m.push_back(Method(vd::kSelectCamera, L"SelectCamera", VT_EMPTY, {VT_I4}));
  m.push_back(Method(vd::kClearSelection, L"ClearSelection", VT_EMPTY));
  m.push_back(Method(vd::kGetCodecType, L"GetCodecType", VT_I4, {VT_I4}));
  m.push_back(Method(vd::kEnableStreamAudio, L"EnableStreamAudio", VT_EMPTY, {VT_I4}));
  return com::DispatchTable(std::move(m));
}

const StandinDescription kViewer = {"viewer", &kClsidViewer, &kDiidViewerEvents, {716, 544},
                                    L"PelStandinViewer"};

constexpr int kSnapshotWidth = 352;
constexpr int kSnapshotHeight = 288;

// Hands `bytes` to a VARIANT* argument as a VT_UI1 array and their count to another as VT_INT.
HRESULT PutBytes(const std::vector<uint8_t>& bytes, VARIANT* picture, VARIANT* size) {
  SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
  if (!array) return E_OUTOFMEMORY;
  void* data = nullptr;
  if (SUCCEEDED(SafeArrayAccessData(array, &data))) {
    std::memcpy(data, bytes.data(), bytes.size());
    SafeArrayUnaccessData(array);
  }
  VariantClear(picture);
  V_VT(picture) = VT_ARRAY | VT_UI1;
  V_ARRAY(picture) = array;
  VariantClear(size);
  V_VT(size) = VT_INT;
  V_INT(size) = static_cast<INT>(bytes.size());
  return S_OK;
}

}  // namespace

ViewerStandin::ViewerStandin() : StandinControl(kViewer, ViewerMembers()) {}

std::wstring ViewerStandin::Title(int camera) const {
  return camera >= 1 && camera <= 6 ? StoredText(vd::kCamName[camera - 1]) : std::wstring();
}

void ViewerStandin::OnPut(const com::DispMember& member, const VARIANT& value) {
  // A non-empty server address connects: every shown camera reports its picture width.
  if (member.id != vd::kServerAddr || SysStringLen(V_BSTR(&value)) == 0) return;
  const int width = EnvInt(L"PEL_STANDIN_PICTURE_WIDTH", 352);
  for (int camera = 1; camera <= 6; ++camera) {
    if (StoredBool(vd::kShowCam[camera - 1])) {
      PostEvent(vd::kEventPictureWidth,
                {{VT_I2, camera}, {VT_I4, width}, {VT_I4, 0}, {VT_I4, 0}, {VT_I4, 0}});
    }
  }
}

HRESULT ViewerStandin::OnCall(const com::DispMember& member, const std::vector<VARIANT*>& args,
                              VARIANT* result) {
  switch (member.id) {
    case vd::kGetJpegFrame:
      return Snapshot(true, args, result);
    case vd::kGetBmpFrame:
      return Snapshot(false, args, result);
    case vd::kGetServerTag: {
      // A test may hand the control a server tag of its choosing (a hostile one, say).
      wchar_t chosen[256] = {};
      const DWORD n = GetEnvironmentVariableW(L"PEL_STANDIN_SERVER_TAG", chosen, 256);
      const std::wstring tag =
          n > 0 && n < 256 ? std::wstring(chosen, n)
                           : StoredText(vd::kServerAddr) + L":" +
                                 std::to_wstring(StoredLong(vd::kServerPort, 80));
      V_VT(result) = VT_BSTR;
      V_BSTR(result) = com::BStr(tag).Detach();
      return S_OK;
    }
    case vd::kSelectCamera:
      selected_ = V_I4(args[0]);
      return S_OK;
    case vd::kClearSelection:
      selected_ = 0;
      return S_OK;
    case vd::kGetCodecType:
      V_VT(result) = VT_I4;
      V_I4(result) = EnvInt(L"PEL_STANDIN_CODEC_TYPE", 0);
      return S_OK;
    default:
      return S_OK;
  }
}

HRESULT ViewerStandin::Snapshot(bool jpeg, const std::vector<VARIANT*>& args, VARIANT* result) {
  const int camera = V_I2(args[2]);
  bool ok = false;
  if (camera >= 1 && camera <= 6) {
    const int height = StoredLong(vd::kTileHeight, 0) == 240 ? 240 : kSnapshotHeight;
    const COLORREF colour = CameraColour(camera);
    const std::vector<uint8_t> bytes =
        jpeg ? EncodeFlatJpeg(kSnapshotWidth, height, GetRValue(colour), GetGValue(colour),
                              GetBValue(colour))
             : RenderTileBmp(camera, Title(camera), kSnapshotWidth, height);
    ok = !bytes.empty() && SUCCEEDED(PutBytes(bytes, args[0], args[1]));
  }
  V_VT(result) = VT_BOOL;
  V_BOOL(result) = ok ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

std::vector<std::pair<int, RECT>> ViewerStandin::Tiles(const RECT& client) const {
  std::vector<int> shown;
  for (int camera = 1; camera <= 6; ++camera) {
    if (StoredBool(vd::kShowCam[camera - 1])) shown.push_back(camera);
  }
  std::vector<std::pair<int, RECT>> tiles;
  const int width = client.right - client.left;
  const int tile_w = StoredLong(vd::kTileWidth, 0);
  const int tile_h = StoredLong(vd::kTileHeight, 0);
  if (tile_w <= 0 || tile_h <= 0) {
    // Single view: the first shown camera fills the viewer.
    if (!shown.empty()) tiles.push_back({shown[0], client});
    return tiles;
  }
  const int columns = width / tile_w > 0 ? width / tile_w : 1;
  for (size_t k = 0; k < shown.size(); ++k) {
    const int col = static_cast<int>(k) % columns;
    const int row = static_cast<int>(k) / columns;
    const RECT r = {client.left + col * tile_w, client.top + row * tile_h,
                    client.left + (col + 1) * tile_w, client.top + (row + 1) * tile_h};
    tiles.push_back({shown[k], r});
  }
  return tiles;
}

void ViewerStandin::OnDraw(HDC dc, const RECT& bounds) {
  FillRect(dc, &bounds, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  if (StoredText(vd::kServerAddr).empty()) {
    RECT text = bounds;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    DrawTextW(dc, L"Disconnected", -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    return;
  }
  for (const auto& [camera, rect] : Tiles(bounds)) {
    PaintTile(dc, rect, camera, Title(camera), camera == selected_);
  }
}

LRESULT ViewerStandin::OnWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  if (msg == WM_LBUTTONDOWN && !StoredText(vd::kServerAddr).empty()) {
    RECT client;
    GetClientRect(Window(), &client);
    const POINT at = {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    for (const auto& [camera, rect] : Tiles(client)) {
      if (PtInRect(&rect, at)) {
        PostEvent(vd::kEventCameraSelected,
                  {{VT_I4, camera}, {VT_I4, 0}, {VT_I4, 0}, {VT_I4, 0}, {VT_I4, 0}});
        break;
      }
    }
  }
  return StandinControl::OnWindowMessage(msg, wp, lp, handled);
}

HRESULT CreateViewerStandin(REFIID iid, void** out) {
  return com::CreateComObject<ViewerStandin>(iid, out);
}

}  // namespace pel::standin
