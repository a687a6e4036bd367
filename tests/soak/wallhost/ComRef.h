// An owning COM interface reference: released when it goes, moved but never copied silently.
#pragma once
#include <objbase.h>

#include <utility>

template <typename T>
class ComRef {
 public:
  ComRef() = default;
  explicit ComRef(T* adopted) : p_(adopted) {}
  ComRef(const ComRef& other) : p_(other.p_) {
    if (p_) p_->AddRef();
  }
  ComRef(ComRef&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComRef& operator=(ComRef other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }
  ~ComRef() { Reset(); }

  // A reference of its own to what someone else holds.
  static ComRef Retained(T* p) {
    if (p) p->AddRef();
    return ComRef(p);
  }

  void Reset() {
    if (T* p = std::exchange(p_, nullptr)) p->Release();
  }
  T* Get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For out-parameters: whatever was held goes first.
  T** Out() {
    Reset();
    return &p_;
  }
  void** OutVoid() { return reinterpret_cast<void**>(Out()); }

  template <typename U>
  HRESULT As(const IID& iid, ComRef<U>* out) const {
    if (!p_) return E_POINTER;
    return p_->QueryInterface(iid, out->OutVoid());
  }

 private:
  T* p_ = nullptr;
};
