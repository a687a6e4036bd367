#include "UartStandin.h"

#include <string>

#include "MemberTable.h"
#include "StandinIds.h"
#include "com/ComObject.h"
#include "hosted/SfiUartDispids.h"

namespace pel::standin {

namespace ud = uart_dispid;

namespace {

com::DispatchTable UartMembers() {
  return com::DispatchTable({
      Property(ud::kPanelMode, L"iPanelMode", VT_I4),
      Property(ud::kFuncOptions, L"iFuncOptions", VT_I4),
      Property(ud::kInitMode, L"iInitMode", VT_I4),
      Property(ud::kServerAddr, L"strServerAddr", VT_BSTR),
      Property(ud::kServerPort, L"iServerPort", VT_I4),
      Property(ud::kUserName, L"strUserName", VT_BSTR),
      Property(ud::kPassword, L"strPassword", VT_BSTR),
      Property(ud::kChannel, L"iChannel", VT_I4),
      Property(ud::kServerId, L"iServerId", VT_I4),
      Property(ud::kUartParam14, L"iUartParam14", VT_I4),
      Property(ud::kUartParam15, L"strUartParam15", VT_BSTR),
      Method(ud::kEnablePanel, L"EnablePanel", VT_EMPTY, {VT_BOOL}),
      Method(ud::kEnablePtz, L"EnablePtz", VT_EMPTY, {VT_BOOL}),
      Method(ud::kApplySettings, L"ApplySettings", VT_EMPTY),
      Method(ud::kRefreshPanel, L"RefreshPanel", VT_EMPTY),
  });
}

// The panel's own size, which it reports when it is enabled.
constexpr SIZE kPanelSize = {164, 394};

const StandinDescription kUart = {"uart", &kClsidUart, &kDiidUartEvents, kPanelSize,
                                  L"PelStandinUart"};

}  // namespace

UartStandin::UartStandin() : StandinControl(kUart, UartMembers()) {}

HRESULT UartStandin::OnCall(const com::DispMember& member, const std::vector<VARIANT*>& args,
                            VARIANT*) {
  if (member.id == ud::kEnablePanel && V_BOOL(args[0]) != VARIANT_FALSE) {
    PostEvent(ud::kEventSizeChanged, {{VT_I4, kPanelSize.cx}, {VT_I4, kPanelSize.cy}});
  } else if (member.id == ud::kEnablePtz) {
    ptzEnabled_ = V_BOOL(args[0]) != VARIANT_FALSE;
  }
  return S_OK;
}

void UartStandin::OnDraw(HDC dc, const RECT& bounds) {
  FillRect(dc, &bounds, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
  const std::wstring text = L"PTZ channel " + std::to_wstring(StoredLong(ud::kChannel, 0)) +
                            (ptzEnabled_ ? L"\nenabled" : L"\ndisabled");
  RECT area = bounds;
  InflateRect(&area, -6, -6);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  DrawTextW(dc, text.c_str(), -1, &area, DT_LEFT | DT_TOP | DT_NOPREFIX);
}

HRESULT CreateUartStandin(REFIID iid, void** out) {
  return com::CreateComObject<UartStandin>(iid, out);
}

}  // namespace pel::standin
