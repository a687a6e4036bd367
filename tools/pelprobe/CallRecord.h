#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ports/Dispatch.h"

namespace pel::probe {

enum class CallKind { kPut, kGet, kMethod };

// One call a hosted component received.
struct ComponentCall {
  std::string component;      // "viewer" or "panel"
  CallKind kind = CallKind::kPut;
  int32_t dispid = 0;
  std::string name;           // the member's name
  Variant value;              // put: the value; get: the answer; method: the result
  std::vector<Variant> args;  // method: the arguments as passed
};

// A hosted component as the probe plays it: every call goes into one list shared by all
// components, in order. Like the real components it keeps the values put into it and answers
// gets with them (VT_EMPTY for what was never put); methods answer what a handler gives,
// VT_EMPTY without one.
class RecordingComponent : public IDispatchPort {
 public:
  using NameOf = std::string (*)(int32_t dispid);
  using MethodHandler = std::function<Variant(const RecordingComponent&, std::vector<Variant>&)>;

  RecordingComponent(std::string component, NameOf nameOf, std::vector<ComponentCall>& calls)
      : component_(std::move(component)), nameOf_(nameOf), calls_(calls) {}

  void PutProperty(int32_t dispid, const Variant& value) override;
  Variant GetProperty(int32_t dispid) override;
  Variant CallMethod(int32_t dispid, std::vector<Variant>& args) override;

  void SetMethodHandler(int32_t dispid, MethodHandler handler) {
    handlers_[dispid] = std::move(handler);
  }
  // The value last put into `dispid`, VT_EMPTY when none was.
  Variant Held(int32_t dispid) const;

 private:
  void Record(CallKind kind, int32_t dispid, const Variant& value,
              const std::vector<Variant>& args = {});

  std::string component_;
  NameOf nameOf_;
  std::vector<ComponentCall>& calls_;
  std::map<int32_t, Variant> held_;
  std::map<int32_t, MethodHandler> handlers_;
};

}  // namespace pel::probe
