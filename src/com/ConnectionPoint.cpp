#include "com/ConnectionPoint.h"

#include <olectl.h>

#include "com/ComObject.h"

namespace pel::com {

STDMETHODIMP ConnectionPoint::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IConnectionPoint)) {
    *out = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP ConnectionPoint::GetConnectionInterface(IID* iid) {
  if (!iid) return E_POINTER;
  *iid = iid_;
  return S_OK;
}

STDMETHODIMP ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** out) {
  if (!out) return E_POINTER;
  *out = container_;
  container_->AddRef();
  return S_OK;
}

STDMETHODIMP ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
  if (!cookie) return E_POINTER;
  *cookie = 0;
  if (!sink) return E_POINTER;
  ComPtr<IDispatch> dispatch;
  if (FAILED(sink->QueryInterface(iid_, dispatch.PutVoid())) &&
      FAILED(sink->QueryInterface(IID_IDispatch, dispatch.PutVoid()))) {
    return CONNECT_E_CANNOTCONNECT;
  }
  *cookie = nextCookie_++;
  sinks_.emplace_back(*cookie, std::move(dispatch));
  return S_OK;
}

STDMETHODIMP ConnectionPoint::Unadvise(DWORD cookie) {
  for (auto it = sinks_.begin(); it != sinks_.end(); ++it) {
    if (it->first == cookie) {
      // The sink leaves the list before it is released: its Release may call back into this
      // point (another Unadvise, a Fire) and must find a whole list.
      ComPtr<IDispatch> leaving = std::move(it->second);
      sinks_.erase(it);
      return S_OK;
    }
  }
  return CONNECT_E_NOCONNECTION;
}

STDMETHODIMP ConnectionPoint::EnumConnections(IEnumConnections** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

void ConnectionPoint::Fire(DISPID id, const std::vector<VARIANT>& args) {
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());
  DISPPARAMS params = {reversed.empty() ? nullptr : reversed.data(), nullptr,
                       static_cast<UINT>(reversed.size()), 0};
  // A sink may unadvise while it handles the event.
  const auto sinks = sinks_;
  for (const auto& sink : sinks) {
    sink.second->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr,
                        nullptr, nullptr);
  }
}

namespace {

class PointEnumerator : public IEnumConnectionPoints {
 public:
  PointEnumerator(const std::vector<IConnectionPoint*>& points, size_t next) : next_(next) {
    for (IConnectionPoint* p : points) points_.emplace_back(p);
  }
  virtual ~PointEnumerator() = default;

  HRESULT QueryInterfaceImpl(REFIID iid, void** out) {
    static const InterfaceEntry<PointEnumerator> kTable[] = {
        {&IID_IEnumConnectionPoints, CastTo<PointEnumerator, IEnumConnectionPoints>},
    };
    return QueryFromTable(this, kTable, iid, out);
  }

  STDMETHODIMP Next(ULONG count, IConnectionPoint** out, ULONG* fetched) override {
    if (!out || (count > 1 && !fetched)) return E_POINTER;
    ULONG n = 0;
    while (n < count && next_ < points_.size()) points_[next_++].CopyTo(&out[n++]);
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  STDMETHODIMP Skip(ULONG count) override {
    const size_t left = points_.size() - next_;
    next_ += count < left ? count : left;
    return count <= left ? S_OK : S_FALSE;
  }
  STDMETHODIMP Reset() override {
    next_ = 0;
    return S_OK;
  }
  STDMETHODIMP Clone(IEnumConnectionPoints** out) override {
    if (!out) return E_POINTER;
    std::vector<IConnectionPoint*> raw;
    for (const auto& p : points_) raw.push_back(p.Get());
    return CreateComObject<PointEnumerator>(IID_IEnumConnectionPoints,
                                            reinterpret_cast<void**>(out), raw, next_);
  }

 private:
  std::vector<ComPtr<IConnectionPoint>> points_;
  size_t next_;
};

}  // namespace

HRESULT EnumerateConnectionPoints(const std::vector<IConnectionPoint*>& points,
                                  IEnumConnectionPoints** out) {
  return CreateComObject<PointEnumerator>(IID_IEnumConnectionPoints,
                                          reinterpret_cast<void**>(out), points, size_t{0});
}

}  // namespace pel::com
