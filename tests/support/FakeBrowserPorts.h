#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ports/BrowserProxySetting.h"
#include "ports/HostBrowser.h"

namespace pel::test {

// A hosting browser showing a page with a fixed URL.
class FakeHostBrowser : public IHostBrowser {
 public:
  explicit FakeHostBrowser(std::u16string url) : url_(std::move(url)) {}
  // The URL from single-byte text, one UTF-16 unit per byte.
  static FakeHostBrowser FromBytes(const std::string& url);

  std::u16string LocationURL() override;
  int calls() const { return calls_; }

 private:
  std::u16string url_;
  int calls_ = 0;
};

// The browser proxy registry values, held in memory; records which values were read.
class FakeBrowserProxySetting : public IBrowserProxySetting {
 public:
  void SetDword(const std::string& name, std::uint32_t number);
  // Text as RegSetValueEx stores it for REG_SZ: with its terminating NUL, unless told not to.
  void SetString(const std::string& name, const std::string& text, bool withNul = true);
  void SetRaw(const std::string& name, std::uint32_t type, std::vector<std::uint8_t> bytes);
  // "ProxyEnable" 1 and "ProxyServer" = text.
  void Enable(const std::string& server);

  std::optional<Value> ReadValue(const std::string& name) override;
  const std::vector<std::string>& reads() const { return reads_; }

 private:
  std::map<std::string, Value> values_;
  std::vector<std::string> reads_;
};

}  // namespace pel::test
