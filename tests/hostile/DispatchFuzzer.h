#pragma once

#include <windows.h>
#include <oaidl.h>

#include <array>
#include <cstdint>

#include "DialogRecorder.h"
#include "ProbeDispatch.h"
#include "Properties.h"
#include "Random.h"
#include "ValueMaker.h"

namespace hostile {

struct DispatchStats {
  uint64_t invokes = 0;
  uint64_t invokeSucceeded = 0;
  uint64_t getIdsOfNames = 0;
  uint64_t typeInfo = 0;
  uint64_t aboutBoxes = 0;
};

// The dispatch half of a hostile script: Invoke with any DISPID, any flags, any argument
// count and type, named arguments, and null or given out-parameters; GetIDsOfNames with real
// and made-up names; GetTypeInfo with bad indices. Besides "no crash, proper HRESULT" it
// checks what is certain: an unknown member is DISP_E_MEMBERNOTFOUND, a plain get answers the
// declared type, a plain put of the declared type reads back, a call that failed changed
// nothing, arguments come back untouched and the driver's objects keep their counts.
class DispatchFuzzer {
 public:
  DispatchFuzzer(Random& rng, ProbePool& probes, hostkit::DialogRecorder& dialogs);

  // Also DISPPARAMS no script engine makes (null arrays under non-zero counts) and values no
  // script can make.
  void AllowMalformed(bool allow) {
    malformed_ = allow;
    values_.AllowMalformed(allow);
  }

  // `calls` Invoke calls on `control`, with GetIDsOfNames and GetTypeInfo calls among them.
  void Run(IDispatch* control, uint64_t calls, uint64_t traceFrom);
  const DispatchStats& Stats() const { return stats_; }

 private:
  struct Plan;
  void Sync(IDispatch* control);
  // A put of a random property, from inside a call of the control.
  void Reenter(IDispatch* control);
  void Invoke(IDispatch* control, bool trace);
  void Judge(IDispatch* control, const Plan& plan, HRESULT hr, unsigned long dialogsBefore);
  void CheckProperty(IDispatch* control, const Plan& plan, HRESULT hr);
  void CheckAll(IDispatch* control);
  // DispatchNamesOps.cpp
  void GetIdsOfNames(IDispatch* control);
  void GetTypeInfo(IDispatch* control);
  DISPID RandomDispid();
  WORD RandomFlags();

  // Locales a script or a container may pass, invalid ones included.
  static constexpr LCID kLcids[] = {0,     LOCALE_USER_DEFAULT, LOCALE_SYSTEM_DEFAULT,
                                    LOCALE_INVARIANT, 0x409, 0x407, 0x411, 0x40C,
                                    0xFFFFFFFF, 0x12345678};
  // {6B1C3A7E-0D4F-4A8B-9C2E-3F5A6B7C8D9E}: an interface nobody has.
  static constexpr IID kNobodysIid = {
      0x6b1c3a7e, 0x0d4f, 0x4a8b, {0x9c, 0x2e, 0x3f, 0x5a, 0x6b, 0x7c, 0x8d, 0x9e}};

  Random& rng_;
  ProbePool& probes_;
  hostkit::DialogRecorder& dialogs_;
  bool malformed_ = false;
  ValueMaker values_;
  DispatchStats stats_;
  // The control's properties as last read, index DISPID - 1.
  std::array<PropValue, kPropertyCount> model_;
};

}  // namespace hostile
