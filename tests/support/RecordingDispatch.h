#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ports/Dispatch.h"

namespace pel::test {

enum class CallKind { kPut, kGet, kMethod, kNote };

// One call a fake received, in the order of all calls written to the same log.
struct RecordedCall {
  std::string component;      // "viewer", "uart", "window", ...
  CallKind kind = CallKind::kNote;
  int32_t dispid = 0;
  Variant value;              // put: the value; get: the answer; method: the result
  std::vector<Variant> args;  // method arguments as passed in
  std::string note;           // kNote: what happened
};

// The calls of several fakes in one order, and a readable line for each:
//   "viewer put 13 \"10.0.0.1\"", "viewer get 151", "uart call 40 (TRUE)",
//   "window move 207 10 716 544".
class CallLog {
 public:
  void Add(RecordedCall call) { calls_.push_back(std::move(call)); }
  void Note(const std::string& component, const std::string& text);
  void Clear() { calls_.clear(); }

  const std::vector<RecordedCall>& calls() const { return calls_; }
  std::vector<std::string> Lines() const;
  // The lines of one component only.
  std::vector<std::string> LinesOf(const std::string& component) const;
  // Index of the first line equal to `line` from `from` on, -1 when there is none.
  int IndexOf(const std::string& line, int from = 0) const;

  static std::string Describe(const RecordedCall& call);
  static std::string Format(const Variant& v);

 private:
  std::vector<RecordedCall> calls_;
};

// A hosted component that records every call into a log and, like the real viewer, keeps
// put values for later gets.
class RecordingDispatch : public IDispatchPort {
 public:
  RecordingDispatch(std::string component, CallLog& log)
      : component_(std::move(component)), log_(log) {}

  void PutProperty(int32_t dispid, const Variant& value) override;
  Variant GetProperty(int32_t dispid) override;
  Variant CallMethod(int32_t dispid, std::vector<Variant>& args) override;

  // A value the component holds without a recorded put (as if it had it from the start).
  void Preset(int32_t dispid, const Variant& value) { values_[dispid] = value; }
  // The held value of a property, VT_EMPTY when it was never put.
  Variant Value(int32_t dispid) const;
  // What method `dispid` returns; a handler may also fill by-reference arguments.
  void SetMethodResult(int32_t dispid, const Variant& result) { results_[dispid] = result; }
  void SetMethodHandler(int32_t dispid,
                        std::function<Variant(std::vector<Variant>&)> handler) {
    handlers_[dispid] = std::move(handler);
  }

 private:
  std::string component_;
  CallLog& log_;
  std::map<int32_t, Variant> values_;
  std::map<int32_t, Variant> results_;
  std::map<int32_t, std::function<Variant(std::vector<Variant>&)>> handlers_;
};

}  // namespace pel::test
