#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <utility>

namespace pel::com {

// Text conversions between the core's ANSI-code-page strings and UTF-16.
std::wstring WideFromAnsi(const std::string& text);
std::string AnsiFromWide(const wchar_t* text, size_t length);
inline std::string AnsiFromWide(const std::wstring& text) {
  return AnsiFromWide(text.c_str(), text.size());
}

// An owned BSTR, freed with SysFreeString.
class BStr {
 public:
  BStr() = default;
  explicit BStr(const wchar_t* text) : b_(text ? SysAllocString(text) : nullptr) {}
  explicit BStr(const std::wstring& text)
      : b_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  static BStr FromAnsi(const std::string& text) { return BStr(WideFromAnsi(text)); }
  BStr(const BStr&) = delete;
  BStr& operator=(const BStr&) = delete;
  BStr(BStr&& other) noexcept : b_(std::exchange(other.b_, nullptr)) {}
  BStr& operator=(BStr&& other) noexcept {
    if (this != &other) {
      Reset();
      b_ = std::exchange(other.b_, nullptr);
    }
    return *this;
  }
  ~BStr() { Reset(); }

  BSTR Get() const { return b_; }
  BSTR* Put() {
    Reset();
    return &b_;
  }
  BSTR Detach() { return std::exchange(b_, nullptr); }
  void Reset() { SysFreeString(std::exchange(b_, nullptr)); }

  UINT Length() const { return SysStringLen(b_); }
  std::wstring Wide() const { return b_ ? std::wstring(b_, Length()) : std::wstring(); }
  std::string Ansi() const { return AnsiFromWide(b_ ? b_ : L"", Length()); }

 private:
  BSTR b_ = nullptr;
};

}  // namespace pel::com
