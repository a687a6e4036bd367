#include "pelprobe/CallRecord.h"

namespace pel::probe {

void RecordingComponent::Record(CallKind kind, int32_t dispid, const Variant& value,
                                const std::vector<Variant>& args) {
  calls_.push_back(ComponentCall{component_, kind, dispid, nameOf_(dispid), value, args});
}

void RecordingComponent::PutProperty(int32_t dispid, const Variant& value) {
  held_[dispid] = value;
  Record(CallKind::kPut, dispid, value);
}

Variant RecordingComponent::GetProperty(int32_t dispid) {
  const Variant answer = Held(dispid);
  Record(CallKind::kGet, dispid, answer);
  return answer;
}

Variant RecordingComponent::CallMethod(int32_t dispid, std::vector<Variant>& args) {
  const std::vector<Variant> passed = args;
  const auto it = handlers_.find(dispid);
  const Variant result = it != handlers_.end() ? it->second(*this, args) : Variant{};
  Record(CallKind::kMethod, dispid, result, passed);
  return result;
}

Variant RecordingComponent::Held(int32_t dispid) const {
  const auto it = held_.find(dispid);
  return it != held_.end() ? it->second : Variant{};
}

}  // namespace pel::probe
