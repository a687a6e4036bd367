#include "HostileStream.h"

#include <cstring>

namespace hostile {

STDMETHODIMP HostileStream::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_ISequentialStream) ||
      IsEqualIID(iid, IID_IStream)) {
    *out = static_cast<IStream*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP HostileStream::Read(void* into, ULONG size, ULONG* done) {
  if (readCount_++ == reenterAt_ && reentry_) reentry_();
  if (done) *done = 0;
  if (!into && size > 0) return STG_E_INVALIDPOINTER;
  uint64_t end = pos_ + size;
  HRESULT hr = S_OK;
  if (end > failReadAt_) {
    end = failReadAt_ > pos_ ? failReadAt_ : pos_;
    hr = failReadHr_;
    readFailed_ = true;
  }
  if (end > data_.size()) end = data_.size() > pos_ ? data_.size() : pos_;
  const ULONG n = static_cast<ULONG>(end - pos_);
  if (n > 0) std::memcpy(into, data_.data() + pos_, n);
  pos_ += n;
  if (done) *done = n;
  return hr;
}

STDMETHODIMP HostileStream::Write(const void* from, ULONG size, ULONG* done) {
  if (done) *done = 0;
  if (!from && size > 0) return STG_E_INVALIDPOINTER;
  uint64_t end = pos_ + size;
  HRESULT hr = S_OK;
  if (end > failWriteAt_) {
    end = failWriteAt_ > pos_ ? failWriteAt_ : pos_;
    hr = failWriteHr_;
    writeFailed_ = true;
  }
  const ULONG n = static_cast<ULONG>(end - pos_);
  if (end > data_.size()) data_.resize(end);
  if (n > 0) std::memcpy(data_.data() + pos_, from, n);
  pos_ += n;
  if (done) *done = n;
  return hr;
}

STDMETHODIMP HostileStream::Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) {
  int64_t base = 0;
  switch (origin) {
    case STREAM_SEEK_SET:
      break;
    case STREAM_SEEK_CUR:
      base = static_cast<int64_t>(pos_);
      break;
    case STREAM_SEEK_END:
      base = static_cast<int64_t>(data_.size());
      break;
    default:
      return STG_E_INVALIDFUNCTION;
  }
  const int64_t to = base + move.QuadPart;
  if (to < 0) return STG_E_INVALIDFUNCTION;
  pos_ = static_cast<uint64_t>(to);
  if (position) position->QuadPart = pos_;
  return S_OK;
}

STDMETHODIMP HostileStream::SetSize(ULARGE_INTEGER size) {
  if (size.QuadPart > (1u << 30)) return STG_E_MEDIUMFULL;
  data_.resize(static_cast<size_t>(size.QuadPart));
  return S_OK;
}

STDMETHODIMP HostileStream::CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER* read,
                                   ULARGE_INTEGER* written) {
  if (read) read->QuadPart = 0;
  if (written) written->QuadPart = 0;
  return E_NOTIMPL;
}

STDMETHODIMP HostileStream::Stat(STATSTG* stat, DWORD) {
  if (!stat) return STG_E_INVALIDPOINTER;
  std::memset(stat, 0, sizeof(*stat));
  stat->type = STGTY_STREAM;
  stat->cbSize.QuadPart = data_.size();
  return S_OK;
}

STDMETHODIMP HostileStream::Clone(IStream** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

}  // namespace hostile
