#include "EventSink.h"

#include <string>

#include "Report.h"
#include "com/ComObject.h"
#include "comtext/VariantText.h"

namespace pel::host {

HRESULT EventSink::QueryInterfaceImpl(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, iid_)) {
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP EventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return E_NOTIMPL;
}

STDMETHODIMP EventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                               EXCEPINFO*, UINT*) {
  std::string args;
  if (params) {
    // rgvarg holds the arguments last to first.
    for (UINT k = params->cArgs; k > 0; --k) {
      if (!args.empty() || k != params->cArgs) args += ",";
      args += com::VariantText(params->rgvarg[k - 1]);
    }
  }
  report_.Line("event\t" + std::to_string(id) + "\t" + args);
  return S_OK;
}

}  // namespace pel::host
