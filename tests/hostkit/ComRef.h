// One owning COM interface reference. Constructing from a pointer ADOPTS the reference the
// caller holds (a new object's first one, an out-parameter's); Retain() takes a reference of
// its own to what someone else holds.
#pragma once
#include <objbase.h>

#include <utility>

namespace hostkit {

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

  static ComRef Retain(T* p) {
    if (p) p->AddRef();
    return ComRef(p);
  }

  void Reset() {
    if (T* p = std::exchange(p_, nullptr)) p->Release();
  }
  // Hands the reference to the caller.
  T* Detach() { return std::exchange(p_, nullptr); }
  T* Get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For out-parameters: whatever was held goes first.
  T** Put() {
    Reset();
    return &p_;
  }
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }

  template <typename U>
  HRESULT QueryTo(REFIID iid, ComRef<U>& out) const {
    if (!p_) {
      out.Reset();
      return E_POINTER;
    }
    return p_->QueryInterface(iid, out.PutVoid());
  }
  // The same object's interface `iid`, or an empty reference.
  template <typename U>
  ComRef<U> Query(REFIID iid) const {
    ComRef<U> out;
    QueryTo(iid, out);
    return out;
  }

 private:
  T* p_ = nullptr;
};

}  // namespace hostkit
