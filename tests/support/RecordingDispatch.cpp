#include "support/RecordingDispatch.h"

#include <cstdio>

namespace pel::test {

void CallLog::Note(const std::string& component, const std::string& text) {
  RecordedCall call;
  call.component = component;
  call.kind = CallKind::kNote;
  call.note = text;
  calls_.push_back(std::move(call));
}

std::string CallLog::Format(const Variant& v) {
  char buffer[64];
  switch (v.vt) {
    case kVtEmpty: return "EMPTY";
    case kVtBool: return v.b ? "TRUE" : "FALSE";
    case kVtI4: return std::to_string(v.i);
    case kVtI2: return "I2:" + std::to_string(v.i);
    case kVtInt: return "INT:" + std::to_string(v.i);
    case kVtUi1: return "UI1:" + std::to_string(v.i);
    case kVtR8:
      std::snprintf(buffer, sizeof buffer, "R8:%g", v.d);
      return buffer;
    case kVtBstr: return "\"" + v.text + "\"";
    case kVtByteArray: return "BYTES:" + std::to_string(v.bytes.size());
    default:
      std::snprintf(buffer, sizeof buffer, "VT:%u", static_cast<unsigned>(v.vt));
      return buffer;
  }
}

std::string CallLog::Describe(const RecordedCall& call) {
  const std::string head = call.component + " ";
  switch (call.kind) {
    case CallKind::kPut: return head + "put " + std::to_string(call.dispid) + " " + Format(call.value);
    case CallKind::kGet: return head + "get " + std::to_string(call.dispid);
    case CallKind::kMethod: {
      std::string line = head + "call " + std::to_string(call.dispid);
      if (!call.args.empty()) {
        line += " (";
        for (size_t i = 0; i < call.args.size(); ++i) {
          if (i > 0) line += ", ";
          line += Format(call.args[i]);
        }
        line += ")";
      }
      return line;
    }
    case CallKind::kNote: return head + call.note;
  }
  return head;
}

std::vector<std::string> CallLog::Lines() const {
  std::vector<std::string> lines;
  for (const RecordedCall& call : calls_) lines.push_back(Describe(call));
  return lines;
}

std::vector<std::string> CallLog::LinesOf(const std::string& component) const {
  std::vector<std::string> lines;
  for (const RecordedCall& call : calls_) {
    if (call.component == component) lines.push_back(Describe(call));
  }
  return lines;
}

int CallLog::IndexOf(const std::string& line, int from) const {
  for (size_t i = from < 0 ? 0 : static_cast<size_t>(from); i < calls_.size(); ++i) {
    if (Describe(calls_[i]) == line) return static_cast<int>(i);
  }
  return -1;
}

void RecordingDispatch::PutProperty(int32_t dispid, const Variant& value) {
  values_[dispid] = value;
  RecordedCall call;
  call.component = component_;
  call.kind = CallKind::kPut;
  call.dispid = dispid;
  call.value = value;
  log_.Add(std::move(call));
}

Variant RecordingDispatch::GetProperty(int32_t dispid) {
  const Variant answer = Value(dispid);
  RecordedCall call;
  call.component = component_;
  call.kind = CallKind::kGet;
  call.dispid = dispid;
  call.value = answer;
  log_.Add(std::move(call));
  return answer;
}

Variant RecordingDispatch::CallMethod(int32_t dispid, std::vector<Variant>& args) {
  RecordedCall call;
  call.component = component_;
  call.kind = CallKind::kMethod;
  call.dispid = dispid;
  call.args = args;
  Variant result;
  if (const auto handler = handlers_.find(dispid); handler != handlers_.end()) {
    result = handler->second(args);
  } else if (const auto fixed = results_.find(dispid); fixed != results_.end()) {
    result = fixed->second;
  }
  call.value = result;
  log_.Add(std::move(call));
  return result;
}

Variant RecordingDispatch::Value(int32_t dispid) const {
  const auto it = values_.find(dispid);
  return it == values_.end() ? Variant{} : it->second;
}

}  // namespace pel::test
