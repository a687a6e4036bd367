#pragma once

#include <windows.h>
#include <oaidl.h>

#include <memory>
#include <string>
#include <vector>

namespace hostile {

// The arguments of one call: the VARIANTs of rgvarg and the storage their by-reference forms
// point at, all owned by the driver and freed by it. A picture taken before the call shows
// afterwards whether the control changed or freed anything of them (property puts and
// methods without out-parameters must leave their arguments alone).
class ArgSet {
 public:
  explicit ArgSet(size_t capacity) { args_.reserve(capacity); }
  ArgSet(const ArgSet&) = delete;
  ArgSet& operator=(const ArgSet&) = delete;
  ~ArgSet();

  // A new argument (VT_EMPTY), last of rgvarg so far.
  VARIANT* AddArg();
  // Storage for a by-reference argument to point at (VT_EMPTY); its address stays put.
  VARIANT* AddTarget();

  VARIANT* Args() { return args_.empty() ? nullptr : args_.data(); }
  UINT Count() const { return static_cast<UINT>(args_.size()); }

  void Snapshot();
  // What differs from the snapshot, or an empty text.
  std::string Changed() const;
  // Frees everything; the failures VariantClear reported (a locked array, say), if any.
  std::string Release();
  std::string Describe() const;

 private:
  std::vector<VARIANT> args_;
  std::vector<std::unique_ptr<VARIANT>> targets_;
  std::vector<std::string> before_;
  bool released_ = false;
};

// The bytes of a VARIANT and of everything it owns (texts, arrays and their elements).
std::string Picture(const VARIANT& v);
std::string DescribeVariant(const VARIANT& v);
std::string VarTypeName(VARTYPE vt);

}  // namespace hostile
