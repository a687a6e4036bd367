#include "Panel.h"

#include <string>

#include "StrictIds.h"

namespace strict {

namespace {

constexpr DISPID kChannel = 12;
constexpr DISPID kEnablePanel = 36;
constexpr DISPID kEnablePtz = 40;
constexpr DISPID kEventSizeChanged = 1;

std::vector<Member> PanelMembers() {
  return {
      Property(1, L"iPanelMode", VT_I4),
      Property(2, L"iFuncOptions", VT_I4),
      Property(4, L"iInitMode", VT_I4),
      Property(8, L"strServerAddr", VT_BSTR),
      Property(9, L"iServerPort", VT_I4),
      Property(10, L"strUserName", VT_BSTR),
      Property(11, L"strPassword", VT_BSTR),
      Property(kChannel, L"iChannel", VT_I4),
      Property(13, L"iServerId", VT_I4),
      Property(14, L"iUartParam14", VT_I4),
      Property(15, L"strUartParam15", VT_BSTR),
      Method(kEnablePanel, L"EnablePanel", VT_EMPTY, {VT_BOOL}),
      Method(kEnablePtz, L"EnablePtz", VT_EMPTY, {VT_BOOL}),
      Method(41, L"ApplySettings", VT_EMPTY),
      Method(42, L"RefreshPanel", VT_EMPTY),
  };
}

constexpr SIZE kPanelSize = {164, 394};

const ComponentInfo kPanelInfo = {"uart", &kClsidPanel, &kDiidPanelEvents, false, kPanelSize};

}  // namespace

Panel::Panel() : StrictControl(kPanelInfo, PanelMembers()) {}

HRESULT Panel::OnCall(const Member& member, const std::vector<VARIANT*>& args, VARIANT*) {
  if (member.id == kEnablePanel && V_BOOL(args[0]) != VARIANT_FALSE) {
    PostEvent(kEventSizeChanged, L"SizeChanged",
              {OwnedVariant::Long(kPanelSize.cx), OwnedVariant::Long(kPanelSize.cy)});
  } else if (member.id == kEnablePtz) {
    ptzEnabled_ = V_BOOL(args[0]) != VARIANT_FALSE;
  }
  return S_OK;
}

void Panel::Paint(HDC dc, const RECT& bounds) {
  FillRect(dc, &bounds, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
  const std::wstring text = L"PTZ " + std::to_wstring(StoredLong(kChannel, 0) + 1) +
                            (ptzEnabled_ ? L" on" : L" off");
  RECT area = bounds;
  InflateRect(&area, -4, -4);
  SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, text.c_str(), -1, &area, DT_LEFT | DT_TOP | DT_NOPREFIX);
}

HRESULT CreatePanel(REFIID iid, void** out) {
  const ComRef<Panel> panel = MakeObject<Panel>();
  return panel ? panel->QueryInterface(iid, out) : E_OUTOFMEMORY;
}

}  // namespace strict
