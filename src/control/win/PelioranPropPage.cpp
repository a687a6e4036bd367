#include "control/win/PelioranPropPage.h"

#include <cstring>
#include <string>

#include "com/ComObject.h"
#include "com/Module.h"
#include "res/PelioranRes.h"
#include "res/StringTable.h"

namespace pel::win {

namespace {

INT_PTR CALLBACK PageProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

// The page's size in pixels: its template's dialog units measured in the template's font.
SIZE PageSizeInPixels() {
  SIZE size = {0, 0};
  HWND probe = CreateDialogParamW(com::ModuleInstance(), MAKEINTRESOURCEW(IDD_PROPPAGE_PELIORAN),
                                  GetDesktopWindow(), PageProc, 0);
  if (!probe) return size;
  RECT r;
  GetWindowRect(probe, &r);
  DestroyWindow(probe);
  size.cx = r.right - r.left;
  size.cy = r.bottom - r.top;
  return size;
}

LPOLESTR TaskMemText(const std::wstring& text) {
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  auto* out = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
  if (out) std::memcpy(out, text.c_str(), bytes);
  return out;
}

}  // namespace

PelioranPropPage::~PelioranPropPage() {
  if (dialog_) DestroyWindow(dialog_);
}

HRESULT PelioranPropPage::QueryInterfaceImpl(REFIID iid, void** out) {
  static const com::InterfaceEntry<PelioranPropPage> kTable[] = {
      {&IID_IPropertyPage, com::CastTo<PelioranPropPage, IPropertyPage>},
  };
  return com::QueryFromTable(this, kTable, iid, out);
}

STDMETHODIMP PelioranPropPage::SetPageSite(IPropertyPageSite* site) {
  site_ = com::ComPtr<IPropertyPageSite>(site);
  return S_OK;
}

STDMETHODIMP PelioranPropPage::Activate(HWND parent, LPCRECT rect, BOOL) {
  if (dialog_) return E_UNEXPECTED;
  dialog_ = CreateDialogParamW(com::ModuleInstance(), MAKEINTRESOURCEW(IDD_PROPPAGE_PELIORAN),
                               parent, PageProc, 0);
  if (!dialog_) return E_FAIL;
  if (rect) Move(rect);
  return S_OK;
}

STDMETHODIMP PelioranPropPage::Deactivate() {
  if (dialog_) {
    DestroyWindow(dialog_);
    dialog_ = nullptr;
  }
  return S_OK;
}

STDMETHODIMP PelioranPropPage::GetPageInfo(PROPPAGEINFO* info) {
  if (!info) return E_POINTER;
  info->cb = sizeof(PROPPAGEINFO);
  info->pszTitle = TaskMemText(com::LoadModuleString(IDS_PELIORAN_PPG_CAPTION));
  info->size = PageSizeInPixels();
  info->pszDocString = nullptr;
  info->pszHelpFile = nullptr;
  info->dwHelpContext = 0;
  return info->pszTitle ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP PelioranPropPage::SetObjects(ULONG count, IUnknown** objects) {
  if (count > 0 && !objects) return E_POINTER;
  objects_.clear();
  for (ULONG k = 0; k < count; ++k) objects_.emplace_back(objects[k]);
  return S_OK;
}

STDMETHODIMP PelioranPropPage::Show(UINT cmdShow) {
  if (!dialog_) return E_UNEXPECTED;
  ShowWindow(dialog_, static_cast<int>(cmdShow));
  return S_OK;
}

STDMETHODIMP PelioranPropPage::Move(LPCRECT rect) {
  if (!rect) return E_POINTER;
  if (!dialog_) return E_UNEXPECTED;
  MoveWindow(dialog_, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
             TRUE);
  return S_OK;
}

STDMETHODIMP PelioranPropPage::IsPageDirty() { return S_FALSE; }
STDMETHODIMP PelioranPropPage::Apply() { return S_OK; }
STDMETHODIMP PelioranPropPage::Help(LPCOLESTR) { return E_NOTIMPL; }

STDMETHODIMP PelioranPropPage::TranslateAccelerator(MSG* msg) {
  if (!msg) return E_POINTER;
  return dialog_ && IsDialogMessageW(dialog_, msg) ? S_OK : S_FALSE;
}

HRESULT CreatePelioranPropPage(REFIID iid, void** out) {
  return com::CreateComObject<PelioranPropPage>(iid, out);
}

}  // namespace pel::win
