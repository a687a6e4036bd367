#pragma once

#include <windows.h>
#include <oaidl.h>

#include "ArgSet.h"
#include "ProbeDispatch.h"
#include "Random.h"

namespace hostile {

// Random VARIANT values of every type a script or a container can hand over, weighted
// towards what matters to the control's properties (texts that read as numbers, the edges
// of 32-bit integers, NaN, texts of 64 Ki and 1 Mi characters).
class ValueMaker {
 public:
  ValueMaker(Random& rng, ProbePool& probes) : rng_(rng), probes_(probes) {}

  // Also values no script can make: DECIMALs out of range (a scale above 28, a sign byte
  // other than 0 and 0x80). Wine 8's VarBstrFromDec reads past its tables on those, so they
  // crash any caller that converts them to text, the control included.
  void AllowMalformed(bool allow) { malformed_ = allow; }
  // The longest text Text() makes (1 Mi characters unless set).
  void SetLongestText(UINT length) { longestText_ = length; }

  // A random by-value type: scalars, texts, interfaces, arrays, and now and then a type no
  // VARIANT may hold (with a zero payload).
  VARTYPE RandomValueType();
  // Fills `out` (VT_EMPTY) with a value of `vt`, which carries no VT_BYREF.
  void Fill(VARIANT* out, VARTYPE vt);
  // Adds one random argument to `args`: by value, or by reference to storage of `args`.
  void AddArg(ArgSet& args);
  // A random text; null now and then.
  BSTR Text();

 private:
  void FillArray(VARIANT* out, VARTYPE element);
  DECIMAL Decimal();
  double Real();

  Random& rng_;
  ProbePool& probes_;
  bool malformed_ = false;
  UINT longestText_ = 1024 * 1024;
};

}  // namespace hostile
