#pragma once

#include <unknwn.h>

#include <cstddef>

namespace pel::com {

// Makes a new instance of a class and queries it for an interface.
using InstanceCreator = HRESULT (*)(REFIID iid, void** out);

// The class factory of one class. Aggregation is not supported.
class ClassFactory : public IClassFactory {
 public:
  explicit ClassFactory(InstanceCreator create) : create_(create) {}
  virtual ~ClassFactory() = default;

  HRESULT QueryInterfaceImpl(REFIID iid, void** out);

  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
  STDMETHODIMP LockServer(BOOL lock) override;

 private:
  InstanceCreator create_;
};

// The classes a module serves, for DllGetClassObject.
struct ClassEntry {
  const CLSID* clsid;
  InstanceCreator create;
};

HRESULT GetClassObjectFromTable(const ClassEntry* classes, size_t count, REFCLSID clsid,
                                REFIID iid, void** out);

}  // namespace pel::com
