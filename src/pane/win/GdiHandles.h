#pragma once

#include <windows.h>

#include <utility>

namespace pel::win {

// Owns a GDI object (bitmap, font, brush): deleted when this goes or takes another.
template <typename Handle>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(Handle handle) : handle_(handle) {}
  GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  ~GdiObject() { Reset(); }

  void Reset(Handle handle = nullptr) {
    if (handle_ != nullptr) DeleteObject(handle_);
    handle_ = handle;
  }
  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  Handle handle_ = nullptr;
};

using GdiBitmap = GdiObject<HBITMAP>;

// A memory device context compatible with the screen, with one object selected into it for
// as long as it lives (the DC's own object is put back before the DC is deleted).
class MemoryDc {
 public:
  explicit MemoryDc(HGDIOBJ selected) : dc_(CreateCompatibleDC(nullptr)) {
    if (dc_ != nullptr && selected != nullptr) old_ = SelectObject(dc_, selected);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  ~MemoryDc() {
    if (dc_ == nullptr) return;
    if (old_ != nullptr) SelectObject(dc_, old_);
    DeleteDC(dc_);
  }

  HDC Get() const { return dc_; }
  // True when the DC exists and holds the object.
  bool Ready() const { return dc_ != nullptr && old_ != nullptr; }

 private:
  HDC dc_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

}  // namespace pel::win
