#pragma once

#include <unknwn.h>

namespace strict {

using Creator = HRESULT (*)(REFIID iid, void** out);

// The class object of one component. There is one of each for the life of the DLL; the
// references it hands out, like server locks, keep the DLL loaded.
class ClassFactory final : public IClassFactory {
 public:
  explicit ClassFactory(Creator create) : create_(create) {}
  ClassFactory(const ClassFactory&) = delete;
  ClassFactory& operator=(const ClassFactory&) = delete;

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
  STDMETHODIMP LockServer(BOOL lock) override;

 private:
  Creator create_;
};

}  // namespace strict
