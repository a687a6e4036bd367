#include "com/ClassFactory.h"

#include "com/ComObject.h"

namespace pel::com {

HRESULT ClassFactory::QueryInterfaceImpl(REFIID iid, void** out) {
  static const InterfaceEntry<ClassFactory> kTable[] = {
      {&IID_IClassFactory, CastTo<ClassFactory, IClassFactory>},
  };
  return QueryFromTable(this, kTable, iid, out);
}

STDMETHODIMP ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  return create_(iid, out);
}

STDMETHODIMP ClassFactory::LockServer(BOOL lock) {
  if (lock) {
    LockModule();
  } else {
    UnlockModule();
  }
  return S_OK;
}

HRESULT GetClassObjectFromTable(const ClassEntry* classes, size_t count, REFCLSID clsid,
                                REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  for (size_t k = 0; k < count; ++k) {
    if (IsEqualCLSID(clsid, *classes[k].clsid)) {
      return CreateComObject<ClassFactory>(iid, out, classes[k].create);
    }
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

}  // namespace pel::com
