#pragma once

#include <windows.h>
#include <oaidl.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "DriverObject.h"

namespace hostile {

// A call back into the control, made from inside a call the control is making.
using Reentry = std::function<void()>;

// A small IDispatch of the driver's own, handed to the control as VT_DISPATCH and VT_UNKNOWN
// arguments and property bag values. When something coerces it (the DISPID_VALUE get that
// VariantChangeType makes) it answers according to its kind, and every third time first
// calls back into the control, as a script's object may.
class ProbeDispatch final : public IDispatch {
 public:
  enum class Answer { kNumber, kText, kBool, kFails, kEmpty };
  ProbeDispatch(Answer answer, const Reentry& reentry, uint64_t& reentries)
      : answer_(answer), reentry_(reentry), reentries_(reentries) {}

  RefCounter& Count() { return count_; }
  Answer Kind() const { return answer_; }
  void Restart() { asked_ = 0; }

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override { return count_.AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return count_.Release(); }
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                             DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                      VARIANT* result, EXCEPINFO* error, UINT* argErr) override;

 private:
  Answer answer_;
  const Reentry& reentry_;
  uint64_t& reentries_;
  uint32_t asked_ = 0;
  RefCounter count_;
};

// One probe of each kind, alive for the whole run.
class ProbePool {
 public:
  ProbePool();
  ProbeDispatch* Pick(uint32_t index) { return probes_[index % probes_.size()].get(); }
  // Reports a probe whose count is not the driver's one reference, then resets it. A probe
  // the control still holds is replaced (and the old one left allocated for the control).
  void Check(const char* when);
  // What the probes call back while set (empty: nothing).
  void SetReentry(Reentry reentry) { reentry_ = std::move(reentry); }
  // How many calls back the probes made so far.
  uint64_t Reentries() const { return reentries_; }
  // As new, for a replay of the same calls.
  void Restart() {
    for (auto& probe : probes_) probe->Restart();
  }

 private:
  Reentry reentry_;
  uint64_t reentries_ = 0;
  std::array<std::unique_ptr<ProbeDispatch>, 5> probes_;
};

}  // namespace hostile
