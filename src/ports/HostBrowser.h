#pragma once

#include <string>

namespace pel {

// The web browser that hosts the page the control sits in. The Windows shell answers with the
// hosting IWebBrowser2's LocationURL; the text is the BSTR's UTF-16 units as they are.
class IHostBrowser {
 public:
  virtual ~IHostBrowser() = default;
  virtual std::u16string LocationURL() = 0;
};

}  // namespace pel
