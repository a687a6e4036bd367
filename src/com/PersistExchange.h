#pragma once

#include <windows.h>
#include <ocidl.h>

#include <cstddef>
#include <vector>

#include "com/PropertyRecords.h"
#include "ports/PropertyExchange.h"

namespace pel::com {

// The frame's stock state is the control's extent (HIMETRIC).

// Exchange with a property bag, as a page's <param> tags give it: values are read as whatever
// the bag holds (usually text) and coerced to the property's type; a value that is missing or
// cannot be coerced leaves the default. Saving writes "_Version", "_ExtentX", "_ExtentY" and
// "_StockProps" before the properties.
class BagExchange final : public IPropertyExchange {
 public:
  BagExchange(IPropertyBag* bag, bool loading, SIZEL& extent)
      : bag_(bag), loading_(loading), extent_(extent) {}

  bool IsLoading() const override { return loading_; }
  void ExchangeVersion(uint32_t version) override;
  void ExchangeStockState() override;
  void ExchangeLong(const char* name, int32_t& value, int32_t def) override;
  void ExchangeBool(const char* name, bool& value, bool def) override;
  void ExchangeText(const char* name, std::string& value, const std::string& def) override;

  // False when the bag refused a write.
  bool Succeeded() const { return ok_; }

 private:
  bool Read(const char* name, VARTYPE type, VARIANT* out);
  void Write(const char* name, VARIANT* value);

  IPropertyBag* bag_;
  bool loading_;
  SIZEL& extent_;
  bool ok_ = true;
};

// Collects the records a stream save writes.
class RecordSaveExchange final : public IPropertyExchange {
 public:
  explicit RecordSaveExchange(const SIZEL& extent) : extent_(extent) {}

  bool IsLoading() const override { return false; }
  void ExchangeVersion(uint32_t version) override;
  void ExchangeStockState() override;
  void ExchangeLong(const char* name, int32_t& value, int32_t def) override;
  void ExchangeBool(const char* name, bool& value, bool def) override;
  void ExchangeText(const char* name, std::string& value, const std::string& def) override;

  const std::vector<PropertyRecord>& Records() const { return records_; }

 private:
  const SIZEL& extent_;
  std::vector<PropertyRecord> records_;
};

// Replays records read from a stream. A record of the wrong type, or too few records, marks
// the load as failed and gives the default for that value.
class RecordLoadExchange final : public IPropertyExchange {
 public:
  RecordLoadExchange(std::vector<PropertyRecord> records, SIZEL& extent)
      : records_(std::move(records)), extent_(extent) {}

  bool IsLoading() const override { return true; }
  void ExchangeVersion(uint32_t version) override;
  void ExchangeStockState() override;
  void ExchangeLong(const char* name, int32_t& value, int32_t def) override;
  void ExchangeBool(const char* name, bool& value, bool def) override;
  void ExchangeText(const char* name, std::string& value, const std::string& def) override;

  // True when every record was used with its own type.
  bool Succeeded() const { return ok_ && next_ == records_.size(); }

 private:
  const PropertyRecord* Take(PropertyRecord::Type type);

  std::vector<PropertyRecord> records_;
  SIZEL& extent_;
  size_t next_ = 0;
  bool ok_ = true;
};

// The persisted block in a stream: a 32-bit byte count, then the records.
constexpr uint32_t kMaxPersistedBlock = 1024 * 1024;
HRESULT WriteRecordBlock(IStream* stream, const std::vector<PropertyRecord>& records);
HRESULT ReadRecordBlock(IStream* stream, std::vector<PropertyRecord>& records);
ULONG RecordBlockSize(const std::vector<PropertyRecord>& records);

}  // namespace pel::com
