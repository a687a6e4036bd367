#pragma once

#include <unknwn.h>

#include <utility>

namespace strict {

// One counted reference to a COM object, released when this goes.
template <class T>
class ComRef {
 public:
  ComRef() = default;
  // Takes a reference of its own.
  explicit ComRef(T* object) : p_(object) {
    if (p_) p_->AddRef();
  }
  ComRef(const ComRef& other) : ComRef(other.p_) {}
  ComRef(ComRef&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComRef& operator=(ComRef other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }
  ~ComRef() { Reset(); }

  // Takes over a reference the caller already holds (a new object's first one).
  static ComRef Adopt(T* object) {
    ComRef ref;
    ref.p_ = object;
    return ref;
  }

  void Reset() {
    if (T* p = std::exchange(p_, nullptr)) p->Release();
  }
  T* Get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For out-parameters: the slot, emptied first.
  T** Put() {
    Reset();
    return &p_;
  }
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }
  // Hands the reference to the caller.
  T* Detach() { return std::exchange(p_, nullptr); }

  // The same object's interface `iid`, or an empty reference.
  template <class U>
  ComRef<U> Query(REFIID iid) const {
    ComRef<U> out;
    if (p_) p_->QueryInterface(iid, out.PutVoid());
    return out;
  }

 private:
  T* p_ = nullptr;
};

}  // namespace strict

#include <new>

namespace strict {

// A new COM object whose first reference (a count of 1 at construction) the result holds;
// empty when memory ran out.
template <class T, class... Args>
ComRef<T> MakeObject(Args&&... args) {
  return ComRef<T>::Adopt(new (std::nothrow) T(std::forward<Args>(args)...));
}

}  // namespace strict
