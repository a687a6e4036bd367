#pragma once

#include <windows.h>
#include <ocidl.h>

#include <string>
#include <vector>

#include "DriverObject.h"
#include "ProbeDispatch.h"

namespace hostile {

// A property bag of the driver's own. For loading, each name is dealt an answer: a value (of
// any type), a failure, or a failure that still writes a number into the caller's VARIANT;
// names not dealt are E_INVALIDARG, as in a page without that <param>. For saving it keeps
// what is written and can refuse one write. It notes what a caller does wrong with it.
class HostileBag final : public IPropertyBag {
 public:
  enum class Answer { kValue, kFail, kFailDirty };
  struct Entry {
    std::wstring name;
    Answer answer = Answer::kValue;
    HRESULT hr = S_OK;  // kFail, kFailDirty; kValue answers S_OK
    VARIANT value;      // kValue, owned
  };
  struct Written {
    std::wstring name;
    VARIANT value;  // owned copy
  };

  HostileBag() = default;
  HostileBag(const HostileBag&) = delete;
  HostileBag& operator=(const HostileBag&) = delete;
  ~HostileBag();

  RefCounter& Count() { return count_; }
  // Takes `value` (left VT_EMPTY).
  void Deal(const std::wstring& name, Answer answer, HRESULT hr, VARIANT* value);
  const Entry* Find(const wchar_t* name) const;
  // Refuses the write with this index (0 = first) with `hr`.
  void FailWrite(size_t index, HRESULT hr) {
    failWrite_ = index;
    failWriteHr_ = hr;
  }
  bool WriteFailed() const { return writeFailed_; }
  // Calls back into the control from inside the read with this index (0 = first).
  void ReenterOnRead(size_t index, Reentry reentry) {
    reenterAt_ = index;
    reentry_ = std::move(reentry);
  }
  const std::vector<Written>& Writes() const { return writes_; }
  // What the caller did wrong, if anything.
  const std::string& Misuse() const { return misuse_; }

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override { return count_.AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return count_.Release(); }
  STDMETHODIMP Read(LPCOLESTR name, VARIANT* value, IErrorLog* log) override;
  STDMETHODIMP Write(LPCOLESTR name, VARIANT* value) override;

 private:
  RefCounter count_;
  std::vector<Entry> entries_;
  std::vector<Written> writes_;
  size_t writeCount_ = 0;
  size_t readCount_ = 0;
  size_t reenterAt_ = SIZE_MAX;
  Reentry reentry_;
  size_t failWrite_ = SIZE_MAX;
  HRESULT failWriteHr_ = S_OK;
  bool writeFailed_ = false;
  std::string misuse_;
};

}  // namespace hostile
