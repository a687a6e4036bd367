#include "Viewer.h"

#include <cstring>

#include "BmpFile.h"
#include "StrictIds.h"

namespace strict {

namespace {

// The viewer's DISPIDs; six-member families are cameras 1 to 6.
constexpr DISPID kScaleCam[6] = {1, 2, 3, 4, 162, 163};
constexpr DISPID kConnectCam[6] = {5, 6, 7, 8, 164, 165};
constexpr DISPID kServerAddr = 13;
constexpr DISPID kServerPort = 14;
constexpr DISPID kShowCam[6] = {18, 19, 20, 21, 168, 169};
constexpr DISPID kViewOption[6] = {53, 54, 55, 56, 57, 58};
constexpr DISPID kCamName[6] = {67, 68, 69, 70, 188, 189};
constexpr DISPID kRefreshCam[6] = {152, 153, 154, 155, 228, 229};
constexpr DISPID kTileWidth = 158;
constexpr DISPID kTileHeight = 159;
constexpr DISPID kGetJpegFrame = 267;
constexpr DISPID kGetBmpFrame = 268;
constexpr DISPID kGetServerTag = 273;
constexpr DISPID kSelectCamera = 276;
constexpr DISPID kClearSelection = 277;
constexpr DISPID kGetCodecType = 294;
constexpr DISPID kEventCameraSelected = 3;
constexpr DISPID kEventPictureWidth = 7;

constexpr VARTYPE kVariantRef = VT_VARIANT | VT_BYREF;

std::vector<Member> ViewerMembers() {
  std::vector<Member> m;
  AddFamily(m, kScaleCam, L"dScaleCam", VT_R8);
  AddFamily(m, kConnectCam, L"bConnectCam", VT_BOOL);
  m.push_back(Property(kServerAddr, L"strServerAddr", VT_BSTR));
  m.push_back(Property(kServerPort, L"iServerPort", VT_I4));
  m.push_back(Property(15, L"strUserName", VT_BSTR));
  m.push_back(Property(16, L"strPassword", VT_BSTR));
  m.push_back(Property(17, L"iServerId", VT_I4));
  AddFamily(m, kShowCam, L"bShowCam", VT_BOOL);
  m.push_back(Property(22, L"bSingleView", VT_BOOL));
  m.push_back(Property(23, L"iFrameInterval", VT_I4));
  AddFamily(m, kViewOption, L"bViewOption", VT_BOOL);
  AddFamily(m, kCamName, L"strCamName", VT_BSTR);
  m.push_back(Property(151, L"bSequence", VT_BOOL));
  AddFamily(m, kRefreshCam, L"bRefreshCam", VT_BOOL);
  m.push_back(Property(156, L"iViewOption7", VT_I4));
  m.push_back(Property(kTileWidth, L"iTileWidth", VT_I4));
  m.push_back(Property(kTileHeight, L"iTileHeight", VT_I4));
  m.push_back(Property(160, L"strProxyAddr", VT_BSTR));
  m.push_back(Property(161, L"iProxyPort", VT_I4));
  m.push_back(Property(264, L"bViewOption8", VT_BOOL));
  m.push_back(Method(kGetJpegFrame, L"GetJpegFrame", VT_BOOL, {kVariantRef, kVariantRef, VT_I2}));
  m.push_back(Method(kGetBmpFrame, L"GetBmpFrame", VT_BOOL, {kVariantRef, kVariantRef, VT_I2}));
  m.push_back(Method(kGetServerTag, L"GetServerTag", VT_BSTR));
  m.push_back(Method(kSelectCamera, L"SelectCamera", VT_EMPTY, {VT_I4}));
  m.push_back(Method(kClearSelection, L"ClearSelection", VT_EMPTY));
  m.push_back(Method(kGetCodecType, L"GetCodecType", VT_I4, {VT_I4}));
  m.push_back(Method(295, L"EnableStreamAudio", VT_EMPTY, {VT_I4}));
  return m;
}

const ComponentInfo kViewerInfo = {"viewer", &kClsidViewer, &kDiidViewerEvents, true, {716, 544}};

COLORREF CameraColour(int camera) {
  static const COLORREF kColours[6] = {RGB(190, 70, 70),  RGB(70, 150, 70),  RGB(70, 90, 190),
                                       RGB(210, 140, 50), RGB(140, 80, 170), RGB(50, 160, 160)};
  return camera >= 1 && camera <= 6 ? kColours[camera - 1] : RGB(128, 128, 128);
}

constexpr int kSnapshotWidth = 352;

}  // namespace

Viewer::Viewer() : StrictControl(kViewerInfo, ViewerMembers()) {}

void Viewer::OnPut(const Member& member, const VARIANT& value) {
  // Connecting: every shown camera reports its picture width.
  if (member.id != kServerAddr || SysStringLen(V_BSTR(&value)) == 0) return;
  const int width = EnvInt(L"PEL_STANDIN_PICTURE_WIDTH", 352);
  for (int camera = 1; camera <= 6; ++camera) {
    if (!StoredBool(kShowCam[camera - 1])) continue;
    PostEvent(kEventPictureWidth, L"PictureWidth",
              {OwnedVariant::Short(static_cast<SHORT>(camera)), OwnedVariant::Long(width),
               OwnedVariant::Long(0), OwnedVariant::Long(0), OwnedVariant::Long(0)});
  }
}

HRESULT Viewer::OnCall(const Member& member, const std::vector<VARIANT*>& args,
                       VARIANT* result) {
  switch (member.id) {
    case kGetJpegFrame:
    case kGetBmpFrame:
      Snapshot(args, result);
      return S_OK;
    case kGetServerTag: {
      std::wstring tag = EnvText(L"PEL_STANDIN_SERVER_TAG");
      if (tag.empty()) {
        tag = StoredText(kServerAddr) + L":" + std::to_wstring(StoredLong(kServerPort, 80));
      }
      V_VT(result) = VT_BSTR;
      V_BSTR(result) = SysAllocStringLen(tag.data(), static_cast<UINT>(tag.size()));
      return V_BSTR(result) ? S_OK : E_OUTOFMEMORY;
    }
    case kSelectCamera:
      selected_ = V_I4(args[0]);
      return S_OK;
    case kClearSelection:
      selected_ = 0;
      return S_OK;
    case kGetCodecType:
      V_VT(result) = VT_I4;
      V_I4(result) = EnvInt(L"PEL_STANDIN_CODEC_TYPE", 0);
      return S_OK;
    default:
      return S_OK;
  }
}

// The picture into the first VARIANT* as a byte array, its byte count into the second.
void Viewer::Snapshot(const std::vector<VARIANT*>& args, VARIANT* result) const {
  const int camera = V_I2(args[2]);
  bool done = false;
  if (camera >= 1 && camera <= 6) {
    const int height = StoredLong(kTileHeight, 0) == 240 ? 240 : 288;
    const std::vector<uint8_t> bytes = FlatBmp(kSnapshotWidth, height, CameraColour(camera));
    SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
    void* data = nullptr;
    if (array && SUCCEEDED(SafeArrayAccessData(array, &data))) {
      std::memcpy(data, bytes.data(), bytes.size());
      SafeArrayUnaccessData(array);
      VARIANT* picture = V_VARIANTREF(args[0]);
      VARIANT* size = V_VARIANTREF(args[1]);
      VariantClear(picture);
      V_VT(picture) = VT_ARRAY | VT_UI1;
      V_ARRAY(picture) = array;
      VariantClear(size);
      V_VT(size) = VT_INT;
      V_INT(size) = static_cast<INT>(bytes.size());
      done = true;
    } else if (array) {
      SafeArrayDestroy(array);
    }
  }
  V_VT(result) = VT_BOOL;
  V_BOOL(result) = done ? VARIANT_TRUE : VARIANT_FALSE;
}

std::vector<std::pair<int, RECT>> Viewer::Tiles(const RECT& area) const {
  std::vector<int> shown;
  for (int camera = 1; camera <= 6; ++camera) {
    if (StoredBool(kShowCam[camera - 1])) shown.push_back(camera);
  }
  std::vector<std::pair<int, RECT>> tiles;
  const LONG tileW = StoredLong(kTileWidth, 0);
  const LONG tileH = StoredLong(kTileHeight, 0);
  if (tileW <= 0 || tileH <= 0) {
    if (!shown.empty()) tiles.push_back({shown[0], area});
    return tiles;
  }
  const LONG width = area.right - area.left;
  const LONG columns = width / tileW > 0 ? width / tileW : 1;
  for (size_t k = 0; k < shown.size(); ++k) {
    const LONG col = static_cast<LONG>(k) % columns;
    const LONG row = static_cast<LONG>(k) / columns;
    tiles.push_back({shown[k], RECT{area.left + col * tileW, area.top + row * tileH,
                                    area.left + (col + 1) * tileW, area.top + (row + 1) * tileH}});
  }
  return tiles;
}

void Viewer::Paint(HDC dc, const RECT& bounds) {
  FillRect(dc, &bounds, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  if (StoredText(kServerAddr).empty()) return;
  for (const auto& [camera, rect] : Tiles(bounds)) {
    HBRUSH fill = CreateSolidBrush(CameraColour(camera));
    FillRect(dc, &rect, fill);
    DeleteObject(fill);
    if (camera == selected_) FrameRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
}

void Viewer::OnClick(POINT at) {
  if (StoredText(kServerAddr).empty()) return;
  for (const auto& [camera, rect] : Tiles(Area())) {
    if (!PtInRect(&rect, at)) continue;
    PostEvent(kEventCameraSelected, L"CameraSelected",
              {OwnedVariant::Long(camera), OwnedVariant::Long(0), OwnedVariant::Long(0),
               OwnedVariant::Long(0), OwnedVariant::Long(0)});
    return;
  }
}

HRESULT CreateViewer(REFIID iid, void** out) {
  const ComRef<Viewer> viewer = MakeObject<Viewer>();
  return viewer ? viewer->QueryInterface(iid, out) : E_OUTOFMEMORY;
}

}  // namespace strict
