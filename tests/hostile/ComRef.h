#pragma once

#include <windows.h>
#include <unknwn.h>

#include <utility>

namespace hostile {

// An owned COM interface pointer, released when it goes.
template <typename T>
class ComRef {
 public:
  ComRef() = default;
  explicit ComRef(T* adopt) : p_(adopt) {}
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  ComRef(ComRef&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComRef& operator=(ComRef&& other) noexcept {
    if (this != &other) {
      Reset();
      p_ = std::exchange(other.p_, nullptr);
    }
    return *this;
  }
  ~ComRef() { Reset(); }

  T* Get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  T** Put() {
    Reset();
    return &p_;
  }
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }
  void Reset() {
    if (p_) std::exchange(p_, nullptr)->Release();
  }
  template <typename U>
  HRESULT QueryTo(REFIID iid, ComRef<U>& out) const {
    if (!p_) return E_POINTER;
    return p_->QueryInterface(iid, out.PutVoid());
  }

 private:
  T* p_ = nullptr;
};

}  // namespace hostile
