#include "com/PersistExchange.h"

#include "com/BStr.h"
#include "com/ComVariant.h"

namespace pel::com {

namespace {
constexpr const char* kVersionName = "_Version";
constexpr const char* kExtentXName = "_ExtentX";
constexpr const char* kExtentYName = "_ExtentY";
constexpr const char* kStockPropsName = "_StockProps";
}  // namespace

// ---- property bag

bool BagExchange::Read(const char* name, VARTYPE type, VARIANT* out) {
  const std::wstring wide = WideFromAnsi(name);
  ComVariant value;
  if (FAILED(bag_->Read(wide.c_str(), value.Get(), nullptr))) return false;
  if (FAILED(value.ChangeType(type))) return false;
  value.MoveTo(out);
  return true;
}

void BagExchange::Write(const char* name, VARIANT* value) {
  const std::wstring wide = WideFromAnsi(name);
  if (FAILED(bag_->Write(wide.c_str(), value))) ok_ = false;
}

void BagExchange::ExchangeVersion(uint32_t version) {
  if (loading_) return;
  int32_t v = static_cast<int32_t>(version);
  ExchangeLong(kVersionName, v, v);
}

void BagExchange::ExchangeStockState() {
  if (loading_) {
    int32_t cx = extent_.cx;
    int32_t cy = extent_.cy;
    ExchangeLong(kExtentXName, cx, extent_.cx);
    ExchangeLong(kExtentYName, cy, extent_.cy);
    if (cx > 0 && cy > 0) extent_ = {cx, cy};
    return;
  }
  int32_t cx = extent_.cx;
  int32_t cy = extent_.cy;
  int32_t stock = 0;
  ExchangeLong(kExtentXName, cx, cx);
  ExchangeLong(kExtentYName, cy, cy);
  ExchangeLong(kStockPropsName, stock, stock);
}

void BagExchange::ExchangeLong(const char* name, int32_t& value, int32_t def) {
  ComVariant v;
  if (loading_) {
    value = Read(name, VT_I4, v.Get()) ? V_I4(v.Get()) : def;
    return;
  }
  V_VT(v.Get()) = VT_I4;
  V_I4(v.Get()) = value;
  Write(name, v.Get());
}

void BagExchange::ExchangeBool(const char* name, bool& value, bool def) {
  ComVariant v;
  if (loading_) {
    value = Read(name, VT_BOOL, v.Get()) ? V_BOOL(v.Get()) != VARIANT_FALSE : def;
    return;
  }
  V_VT(v.Get()) = VT_BOOL;
  V_BOOL(v.Get()) = value ? VARIANT_TRUE : VARIANT_FALSE;
  Write(name, v.Get());
}

void BagExchange::ExchangeText(const char* name, std::string& value, const std::string& def) {
  ComVariant v;
  if (loading_) {
    if (Read(name, VT_BSTR, v.Get())) {
      const BSTR text = V_BSTR(v.Get());
      value = AnsiFromWide(text ? text : L"", SysStringLen(text));
    } else {
      value = def;
    }
    return;
  }
  V_VT(v.Get()) = VT_BSTR;
  V_BSTR(v.Get()) = BStr::FromAnsi(value).Detach();
  Write(name, v.Get());
}

// ---- stream records

void RecordSaveExchange::ExchangeVersion(uint32_t version) {
  records_.push_back({PropertyRecord::kLong, static_cast<int32_t>(version), {}});
}

void RecordSaveExchange::ExchangeStockState() {
  records_.push_back({PropertyRecord::kLong, extent_.cx, {}});
  records_.push_back({PropertyRecord::kLong, extent_.cy, {}});
}

void RecordSaveExchange::ExchangeLong(const char*, int32_t& value, int32_t) {
  records_.push_back({PropertyRecord::kLong, value, {}});
}

void RecordSaveExchange::ExchangeBool(const char*, bool& value, bool) {
  records_.push_back({PropertyRecord::kBool, value ? 1 : 0, {}});
}

void RecordSaveExchange::ExchangeText(const char*, std::string& value, const std::string&) {
  records_.push_back({PropertyRecord::kText, 0, value});
}

const PropertyRecord* RecordLoadExchange::Take(PropertyRecord::Type type) {
  if (!ok_ || next_ >= records_.size() || records_[next_].type != type) {
    ok_ = false;
    return nullptr;
  }
  return &records_[next_++];
}

void RecordLoadExchange::ExchangeVersion(uint32_t) { Take(PropertyRecord::kLong); }

void RecordLoadExchange::ExchangeStockState() {
  const PropertyRecord* cx = Take(PropertyRecord::kLong);
  const PropertyRecord* cy = Take(PropertyRecord::kLong);
  if (cx && cy && cx->number > 0 && cy->number > 0) extent_ = {cx->number, cy->number};
}

void RecordLoadExchange::ExchangeLong(const char*, int32_t& value, int32_t def) {
  const PropertyRecord* r = Take(PropertyRecord::kLong);
  value = r ? r->number : def;
}

void RecordLoadExchange::ExchangeBool(const char*, bool& value, bool def) {
  const PropertyRecord* r = Take(PropertyRecord::kBool);
  value = r ? r->number != 0 : def;
}

void RecordLoadExchange::ExchangeText(const char*, std::string& value, const std::string& def) {
  const PropertyRecord* r = Take(PropertyRecord::kText);
  value = r ? r->text : def;
}

// ---- the block in a stream

ULONG RecordBlockSize(const std::vector<PropertyRecord>& records) {
  return static_cast<ULONG>(4 + EncodePropertyRecords(records).size());
}

HRESULT WriteRecordBlock(IStream* stream, const std::vector<PropertyRecord>& records) {
  if (!stream) return E_POINTER;
  const std::vector<uint8_t> bytes = EncodePropertyRecords(records);
  if (bytes.size() > kMaxPersistedBlock) return E_FAIL;
  const uint32_t n = static_cast<uint32_t>(bytes.size());
  const uint8_t header[4] = {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8),
                             static_cast<uint8_t>(n >> 16), static_cast<uint8_t>(n >> 24)};
  ULONG written = 0;
  HRESULT hr = stream->Write(header, 4, &written);
  if (FAILED(hr) || written != 4) return FAILED(hr) ? hr : STG_E_MEDIUMFULL;
  if (n == 0) return S_OK;
  hr = stream->Write(bytes.data(), n, &written);
  if (FAILED(hr) || written != n) return FAILED(hr) ? hr : STG_E_MEDIUMFULL;
  return S_OK;
}

namespace {
HRESULT ReadExactly(IStream* stream, void* into, ULONG size) {
  ULONG got = 0;
  const HRESULT hr = stream->Read(into, size, &got);
  if (FAILED(hr)) return hr;
  return got == size ? S_OK : STG_E_READFAULT;
}
}  // namespace

HRESULT ReadRecordBlock(IStream* stream, std::vector<PropertyRecord>& records) {
  if (!stream) return E_POINTER;
  uint8_t header[4] = {};
  HRESULT hr = ReadExactly(stream, header, 4);
  if (FAILED(hr)) return hr;
  const uint32_t n = header[0] | (header[1] << 8) | (header[2] << 16) |
                     (static_cast<uint32_t>(header[3]) << 24);
  if (n > kMaxPersistedBlock) return E_FAIL;
  std::vector<uint8_t> bytes(n);
  if (n > 0) {
    hr = ReadExactly(stream, bytes.data(), n);
    if (FAILED(hr)) return hr;
  }
  auto decoded = DecodePropertyRecords(bytes.data(), bytes.size());
  if (!decoded) return E_FAIL;
  records = std::move(*decoded);
  return S_OK;
}

}  // namespace pel::com
