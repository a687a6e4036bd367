#pragma once

#include <ocidl.h>

#include <string>
#include <utility>
#include <vector>

namespace pel::host {

// The property bag a page's <param> tags make: name=value texts, names matched without
// regard to case. A read asks for no type gets the text (VT_BSTR); a typed read gets the text
// coerced, or fails.
class ParamBag : public IPropertyBag {
 public:
  explicit ParamBag(std::vector<std::pair<std::string, std::string>> params)
      : params_(std::move(params)) {}
  virtual ~ParamBag() = default;

  HRESULT QueryInterfaceImpl(REFIID iid, void** out);

  STDMETHODIMP Read(LPCOLESTR name, VARIANT* value, IErrorLog* log) override;
  STDMETHODIMP Write(LPCOLESTR name, VARIANT* value) override;

  const std::vector<std::pair<std::string, std::string>>& Params() const { return params_; }

 private:
  std::vector<std::pair<std::string, std::string>> params_;
};

}  // namespace pel::host
