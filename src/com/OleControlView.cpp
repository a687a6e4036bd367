// OleControl: the view as IViewObjectEx describes it. The control paints its whole rectangle
// in a solid colour (OnDraw), so the view is one opaque rectangle: the content aspect and the
// opaque aspect are the same, and it has no transparent parts.

#include "com/OleControl.h"

namespace pel::com {

namespace {
bool IsDrawnAspect(DWORD aspect) { return aspect == DVASPECT_CONTENT || aspect == DVASPECT_OPAQUE; }
}  // namespace

STDMETHODIMP OleControl::GetRect(DWORD aspect, LPRECTL rect) {
  if (!rect) return E_POINTER;
  if (!IsDrawnAspect(aspect)) return DV_E_DVASPECT;
  *rect = {0, 0, extent_.cx, extent_.cy};
  return S_OK;
}

STDMETHODIMP OleControl::GetViewStatus(DWORD* status) {
  if (!status) return E_POINTER;
  *status = VIEWSTATUS_OPAQUE | VIEWSTATUS_SOLIDBKGND | VIEWSTATUS_DVASPECTOPAQUE;
  return S_OK;
}

STDMETHODIMP OleControl::QueryHitPoint(DWORD aspect, LPCRECT bounds, POINT location, LONG,
                                       DWORD* hit) {
  if (!bounds || !hit) return E_POINTER;
  if (!IsDrawnAspect(aspect)) return E_FAIL;
  *hit = PtInRect(bounds, location) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
  return S_OK;
}

STDMETHODIMP OleControl::QueryHitRect(DWORD aspect, LPCRECT bounds, LPCRECT location, LONG,
                                      DWORD* hit) {
  if (!bounds || !location || !hit) return E_POINTER;
  if (!IsDrawnAspect(aspect)) return E_FAIL;
  RECT common;
  *hit = IntersectRect(&common, bounds, location) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
  return S_OK;
}

STDMETHODIMP OleControl::GetNaturalExtent(DWORD aspect, LONG, DVTARGETDEVICE*, HDC,
                                          DVEXTENTINFO* info, LPSIZEL size) {
  if (!info) return E_POINTER;
  if (info->cb < sizeof(DVEXTENTINFO)) return E_INVALIDARG;
  // The control has no steps to snap a proposed size to: only its default size is natural.
  if (aspect != DVASPECT_CONTENT || info->dwExtentMode != DVEXTENT_CONTENT) return E_FAIL;
  if (!size) return E_POINTER;
  *size = naturalExtent_;
  return S_OK;
}

}  // namespace pel::com
