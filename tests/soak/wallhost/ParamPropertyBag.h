// The <param> tags of a page as a browser hands them to a control: an IPropertyBag whose
// values are texts (VT_BSTR), coerced only when the control asks for another type.
#pragma once
#include <ocidl.h>

#include <string>
#include <utility>
#include <vector>

class ParamPropertyBag : public IPropertyBag {
 public:
  using Params = std::vector<std::pair<std::wstring, std::wstring>>;
  explicit ParamPropertyBag(Params params) : params_(std::move(params)) {}
  virtual ~ParamPropertyBag() = default;

  // The names the control read, in order (found or not).
  const std::vector<std::wstring>& Reads() const { return reads_; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE Read(LPCOLESTR name, VARIANT* value, IErrorLog* log) override;
  HRESULT STDMETHODCALLTYPE Write(LPCOLESTR name, VARIANT* value) override;

 private:
  Params params_;
  std::vector<std::wstring> reads_;
  LONG refs_ = 1;
};
