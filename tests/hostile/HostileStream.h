#pragma once

#include <windows.h>
#include <objidl.h>

#include <cstdint>
#include <vector>

#include "DriverObject.h"
#include "ProbeDispatch.h"

namespace hostile {

// An IStream over bytes the driver holds, which can fail a read or a write at a chosen
// offset (with a chosen HRESULT), cut writes short, and remembers how far reads reached.
class HostileStream final : public IStream {
 public:
  explicit HostileStream(std::vector<uint8_t> data = {}) : data_(std::move(data)) {}

  RefCounter& Count() { return count_; }
  const std::vector<uint8_t>& Data() const { return data_; }
  uint64_t Position() const { return pos_; }

  // A read that would reach past `offset` gets the bytes before it and `hr`.
  void FailReadAt(uint64_t offset, HRESULT hr) {
    failReadAt_ = offset;
    failReadHr_ = hr;
  }
  // A write that would reach past `offset` stores the bytes before it and answers `hr`
  // (S_OK: a short write that says it succeeded).
  void FailWriteAt(uint64_t offset, HRESULT hr) {
    failWriteAt_ = offset;
    failWriteHr_ = hr;
  }
  // Calls back into the control from inside the read with this index (0 = first).
  void ReenterOnRead(size_t index, Reentry reentry) {
    reenterAt_ = index;
    reentry_ = std::move(reentry);
  }
  bool ReadFailed() const { return readFailed_; }
  bool WriteFailed() const { return writeFailed_; }

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override { return count_.AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return count_.Release(); }
  STDMETHODIMP Read(void* into, ULONG size, ULONG* done) override;
  STDMETHODIMP Write(const void* from, ULONG size, ULONG* done) override;
  STDMETHODIMP Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) override;
  STDMETHODIMP SetSize(ULARGE_INTEGER size) override;
  STDMETHODIMP CopyTo(IStream* to, ULARGE_INTEGER size, ULARGE_INTEGER* read,
                      ULARGE_INTEGER* written) override;
  STDMETHODIMP Commit(DWORD) override { return S_OK; }
  STDMETHODIMP Revert() override { return S_OK; }
  STDMETHODIMP LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
    return STG_E_INVALIDFUNCTION;
  }
  STDMETHODIMP UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
    return STG_E_INVALIDFUNCTION;
  }
  STDMETHODIMP Stat(STATSTG* stat, DWORD flags) override;
  STDMETHODIMP Clone(IStream** out) override;

 private:
  RefCounter count_;
  std::vector<uint8_t> data_;
  uint64_t pos_ = 0;
  uint64_t failReadAt_ = UINT64_MAX;
  HRESULT failReadHr_ = S_OK;
  uint64_t failWriteAt_ = UINT64_MAX;
  HRESULT failWriteHr_ = S_OK;
  size_t readCount_ = 0;
  size_t reenterAt_ = SIZE_MAX;
  Reentry reentry_;
  bool readFailed_ = false;
  bool writeFailed_ = false;
};

}  // namespace hostile
