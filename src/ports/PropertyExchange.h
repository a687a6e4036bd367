#pragma once

#include <cstdint>
#include <string>

namespace pel {

// Loads or saves the control's persisted state, one named value at a time, in the order the
// control calls. The Windows shell serves it from a property bag or a stream; a reset serves
// every value its default.
class IPropertyExchange {
 public:
  virtual ~IPropertyExchange() = default;

  // True when values are read into the control, false when they are written out.
  virtual bool IsLoading() const = 0;

  // The persisted state's version (major in the high word), then the frame's own stock state.
  virtual void ExchangeVersion(uint32_t version) = 0;
  virtual void ExchangeStockState() = 0;

  // A value under `name`: on load the stored value, or `def` when there is none.
  virtual void ExchangeLong(const char* name, int32_t& value, int32_t def) = 0;
  virtual void ExchangeBool(const char* name, bool& value, bool def) = 0;
  virtual void ExchangeText(const char* name, std::string& value, const std::string& def) = 0;
};

// The exchange of a state reset: every value becomes its default.
class ResetPropExchange final : public IPropertyExchange {
 public:
  bool IsLoading() const override { return true; }
  void ExchangeVersion(uint32_t) override {}
  void ExchangeStockState() override {}
  void ExchangeLong(const char*, int32_t& value, int32_t def) override { value = def; }
  void ExchangeBool(const char*, bool& value, bool def) override { value = def; }
  void ExchangeText(const char*, std::string& value, const std::string& def) override {
    value = def;
  }
};

}  // namespace pel
