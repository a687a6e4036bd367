#include "DispatchFuzzer.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ArgSet.h"
#include "ComRef.h"
#include "Verdict.h"

namespace hostile {

namespace {

constexpr UINT kArgErrUnset = 0xDEADBEEFu;
constexpr uint64_t kFullCheckEvery = 2000;

const DISPID kSpecialDispids[] = {
    DISPID_VALUE,     DISPID_UNKNOWN,   DISPID_PROPERTYPUT, DISPID_NEWENUM, DISPID_EVALUATE,
    DISPID_CONSTRUCTOR, DISPID_DESTRUCTOR, DISPID_COLLECT, -2,            -500,
    -501,             -502,             -503,               -504,           -512,
    -513,             -514,             -515,               -517,           -518,
    -520,             -525,             -550,               -551,           -553,
    -600,             -601,             -602,               -603,           -604,
    -605,             -606,             -607,               -608,           -609,
    -610,             -701,             15,                 16,             255,
    256,              65535,            65536,              0x60020000,     0x60030000,
    0x40000000,       INT_MAX,          INT_MIN,            INT_MIN + 1,    -1000000};

bool AllZero(const void* data, size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  for (size_t k = 0; k < size; ++k) {
    if (bytes[k]) return false;
  }
  return true;
}

}  // namespace

struct DispatchFuzzer::Plan {
  enum class Clean { kNone, kGet, kPut, kAbout };

  DISPID id = 0;
  IID iid = IID_NULL;
  LCID lcid = 0;
  WORD flags = 0;
  ArgSet args{8};
  std::vector<DISPID> named;
  bool nullParams = false;
  bool nullArgArray = false;    // cArgs > 0 with rgvarg null
  bool nullNamedArray = false;  // cNamedArgs > 0 with rgdispidNamedArgs null
  bool withResult = false;
  bool withExcepInfo = false;
  bool withArgErr = false;
  Clean clean = Clean::kNone;
  PropValue put;  // Clean::kPut

  std::string Describe(uint64_t index) const {
    char head[200];
    std::snprintf(head, sizeof(head), "Invoke #%llu: dispid %ld, flags 0x%x, lcid 0x%lx, iid %s, ",
                  static_cast<unsigned long long>(index), static_cast<long>(id), flags,
                  static_cast<unsigned long>(lcid), IsEqualIID(iid, IID_NULL) ? "NULL" : "other");
    std::string out = head;
    if (nullParams) {
      out += "pDispParams null";
    } else {
      out += "args " + (nullArgArray ? "null x" + std::to_string(args.Count()) : args.Describe());
      out += ", named [";
      if (nullNamedArray) {
        out += "null x" + std::to_string(named.size());
      } else {
        for (size_t k = 0; k < named.size(); ++k) {
          out += (k ? ", " : "") + std::to_string(named[k]);
        }
      }
      out += "]";
    }
    out += withResult ? ", pVarResult" : ", no pVarResult";
    out += withExcepInfo ? ", pExcepInfo" : ", no pExcepInfo";
    out += withArgErr ? ", puArgErr" : ", no puArgErr";
    return out;
  }
};

DispatchFuzzer::DispatchFuzzer(Random& rng, ProbePool& probes, hostkit::DialogRecorder& dialogs)
    : rng_(rng), probes_(probes), dialogs_(dialogs), values_(rng, probes) {}

DISPID DispatchFuzzer::RandomDispid() {
  const uint32_t roll = rng_.Below(1000);
  if (roll < 450) return static_cast<DISPID>(1 + rng_.Below(kPropertyCount));
  // The About box is a real dialog (about 10 ms each under Wine): rarely.
  if (roll < 452) return kDispidAboutBox;
  if (roll < 610) return rng_.Pick(kSpecialDispids);
  if (roll < 810) return rng_.Between(-1000, 1000);
  return static_cast<DISPID>(rng_.Next32());
}

WORD DispatchFuzzer::RandomFlags() {
  static const WORD kUsual[] = {DISPATCH_METHOD, DISPATCH_PROPERTYGET,
                                DISPATCH_METHOD | DISPATCH_PROPERTYGET, DISPATCH_PROPERTYPUT,
                                DISPATCH_PROPERTYPUTREF};
  const uint32_t roll = rng_.Below(4);
  if (roll < 2) return static_cast<WORD>(rng_.Below(16));
  if (roll == 2) return rng_.Pick(kUsual);
  return static_cast<WORD>(rng_.Next32());
}

void DispatchFuzzer::Sync(IDispatch* control) {
  for (const PropertyDef& def : Properties()) {
    PropValue value;
    const HRESULT hr = ReadProperty(control, def.id, value);
    if (FAILED(hr)) Fault("reading %ls answered %s", def.name, HrText(hr).c_str());
    model_[def.id - 1] = value;
  }
}

void DispatchFuzzer::Run(IDispatch* control, uint64_t calls, uint64_t traceFrom) {
  Sync(control);
  // The driver's IDispatch when coerced, and every third About box while it is up, now and
  // then put a property of the control from inside the call.
  probes_.SetReentry([this, control] { Reenter(control); });
  dialogs_.SetReentry([this, control] { Reenter(control); }, 3);
  const uint64_t end = stats_.invokes + calls;
  while (stats_.invokes < end) {
    const uint32_t roll = rng_.Below(100);
    if (roll < 4) {
      GetIdsOfNames(control);
    } else if (roll < 5) {
      GetTypeInfo(control);
    } else {
      Invoke(control, stats_.invokes >= traceFrom);
      if (stats_.invokes % kFullCheckEvery == 0) CheckAll(control);
    }
  }
  probes_.SetReentry(nullptr);
  dialogs_.SetReentry(nullptr, 0);
}

void DispatchFuzzer::Reenter(IDispatch* control) {
  const PropertyDef& def = Properties()[rng_.Below(kPropertyCount)];
  VARIANT v;
  values_.Fill(&v, def.vt);
  WriteProperty(control, def.id, v);
  VariantClear(&v);
}

void DispatchFuzzer::Invoke(IDispatch* control, bool trace) {
  Plan plan;
  const uint64_t index = stats_.invokes++;
  plan.id = RandomDispid();
  plan.lcid = rng_.Pick(kLcids);
  plan.withResult = rng_.Percent(70);
  plan.withExcepInfo = rng_.OneIn(2);
  plan.withArgErr = rng_.OneIn(2);

  const PropertyDef* def = FindProperty(plan.id);
  if ((def || plan.id == kDispidAboutBox) && rng_.Percent(30)) {
    // What a well-behaved script does: its outcome is certain.
    if (plan.id == kDispidAboutBox) {
      plan.clean = Plan::Clean::kAbout;
      plan.flags = DISPATCH_METHOD;
    } else if (rng_.OneIn(2)) {
      plan.clean = Plan::Clean::kGet;
      plan.flags = DISPATCH_PROPERTYGET;
    } else {
      plan.clean = Plan::Clean::kPut;
      plan.flags = DISPATCH_PROPERTYPUT;
      plan.named.push_back(DISPID_PROPERTYPUT);
      VARIANT* arg = plan.args.AddArg();
      V_VT(arg) = def->vt;
      if (def->vt == VT_BSTR) {
        std::wstring text;
        for (uint32_t k = rng_.Below(30); k > 0; --k) {
          text += static_cast<wchar_t>(0x20 + rng_.Below(0x5F));
        }
        V_BSTR(arg) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
      } else if (def->vt == VT_I4) {
        V_I4(arg) = static_cast<LONG>(rng_.Next32());
      } else {
        V_BOOL(arg) = rng_.OneIn(2) ? VARIANT_TRUE : VARIANT_FALSE;
      }
      plan.put = ValueOf(*arg);
    }
  } else {
    if (rng_.OneIn(40)) {
      static const IID* const kIids[] = {&IID_IDispatch, &IID_IUnknown, &kNobodysIid};
      plan.iid = *rng_.Pick(kIids);
    }
    plan.flags = RandomFlags();
    const uint32_t count_roll = rng_.Below(100);
    const UINT count = count_roll < 35 ? 0
                       : count_roll < 75 ? 1
                       : count_roll < 87 ? 2
                                         : 3 + rng_.Below(6);
    for (UINT k = 0; k < count; ++k) values_.AddArg(plan.args);
    const uint32_t named_roll = rng_.Below(100);
    if (named_roll < 55) {
      // none
    } else if (named_roll < 80) {
      plan.named.push_back(DISPID_PROPERTYPUT);
    } else if (named_roll < 90) {
      for (uint32_t k = 1 + rng_.Below(3); k > 0; --k) {
        plan.named.push_back(rng_.OneIn(3) ? DISPID_PROPERTYPUT : RandomDispid());
      }
    } else {
      // More names than arguments.
      for (uint32_t k = count + 1 + rng_.Below(3); k > 0; --k) {
        plan.named.push_back(rng_.OneIn(2) ? DISPID_PROPERTYPUT : RandomDispid());
      }
    }
    const uint32_t shape = rng_.Below(200);
    if (shape < 4) {
      plan.nullParams = true;
    } else if (malformed_ && shape < 6 && count > 0) {
      plan.nullArgArray = true;
    } else if (malformed_ && shape < 8 && !plan.named.empty()) {
      plan.nullNamedArray = true;
    }
  }

  DISPPARAMS params = {plan.nullArgArray ? nullptr : plan.args.Args(),
                       plan.nullNamedArray || plan.named.empty() ? nullptr : plan.named.data(),
                       plan.args.Count(), static_cast<UINT>(plan.named.size())};
  VARIANT result;
  std::memset(&result, 0xA5, sizeof(result));
  V_VT(&result) = VT_EMPTY;
  EXCEPINFO excep = {};
  UINT arg_err = kArgErrUnset;

  plan.args.Snapshot();
  SetCurrentCall(plan.Describe(index));
  if (trace) std::printf("%s\n", CurrentCall().c_str());
  const unsigned long dialogs_before = dialogs_.Count();
  const uint64_t reentries_before = probes_.Reentries() + dialogs_.Reentries();
  const HRESULT hr = control->Invoke(plan.id, plan.iid, plan.lcid, plan.flags,
                                     plan.nullParams ? nullptr : &params,
                                     plan.withResult ? &result : nullptr,
                                     plan.withExcepInfo ? &excep : nullptr,
                                     plan.withArgErr ? &arg_err : nullptr);
  if (trace) std::printf("  -> %s\n", HrText(hr).c_str());
  if (SUCCEEDED(hr)) ++stats_.invokeSucceeded;

  if (!AcceptableHr(hr, Surface::kDispatch)) Fault("Invoke answered %s", HrText(hr).c_str());
  const std::string changed = plan.args.Changed();
  if (!changed.empty()) Fault("%s", changed.c_str());
  if (plan.withResult) {
    if (FAILED(hr) && V_VT(&result) != VT_EMPTY) {
      Fault("a failed Invoke left %s in pVarResult", VarTypeName(V_VT(&result)).c_str());
    }
    const HRESULT cleared = VariantClear(&result);
    if (FAILED(cleared)) Fault("VariantClear of pVarResult answered %s", HrText(cleared).c_str());
  }
  if (plan.withExcepInfo) {
    if (hr == DISP_E_EXCEPTION) {
      SysFreeString(excep.bstrSource);
      SysFreeString(excep.bstrDescription);
      SysFreeString(excep.bstrHelpFile);
    } else if (!AllZero(&excep, sizeof(excep))) {
      Fault("EXCEPINFO was written although the answer was %s", HrText(hr).c_str());
    }
  }
  if (plan.withArgErr && !plan.nullParams) {
    const bool set = arg_err != kArgErrUnset;
    if (hr == DISP_E_TYPEMISMATCH && (!set || arg_err >= plan.args.Count())) {
      Fault("DISP_E_TYPEMISMATCH with puArgErr %s", set ? std::to_string(arg_err).c_str() : "unset");
    }
    if (hr == DISP_E_PARAMNOTFOUND && set && arg_err >= plan.args.Count()) {
      Fault("DISP_E_PARAMNOTFOUND with puArgErr %u beyond the arguments", arg_err);
    }
  }
  Judge(control, plan, hr, dialogs_before);
  const std::string release = plan.args.Release();
  if (!release.empty()) Fault("freeing the arguments after the call: %s", release.c_str());
  probes_.Check("Invoke");
  if (probes_.Reentries() + dialogs_.Reentries() != reentries_before) {
    Sync(control);  // a property was put from inside the call
  } else if (def) {
    CheckProperty(control, plan, hr);
  }
}

void DispatchFuzzer::Judge(IDispatch*, const Plan& plan, HRESULT hr,
                           unsigned long dialogsBefore) {
  const unsigned long dialogs = dialogs_.Count() - dialogsBefore;
  if (plan.id == kDispidAboutBox && SUCCEEDED(hr)) {
    ++stats_.aboutBoxes;
    if (dialogs != 1) Fault("AboutBox succeeded with %lu dialog(s) shown", dialogs);
  } else if (dialogs != 0) {
    Fault("%lu dialog(s) shown by a call answered %s", dialogs, HrText(hr).c_str());
  }
  if (!IsEqualIID(plan.iid, IID_NULL)) {
    if (hr != DISP_E_UNKNOWNINTERFACE) {
      Fault("riid not IID_NULL answered %s, not DISP_E_UNKNOWNINTERFACE", HrText(hr).c_str());
    }
    return;
  }
  if (!FindProperty(plan.id) && plan.id != kDispidAboutBox) {
    if (hr != DISP_E_MEMBERNOTFOUND) {
      Fault("unknown DISPID answered %s, not DISP_E_MEMBERNOTFOUND", HrText(hr).c_str());
    }
    return;
  }
  switch (plan.clean) {
    case Plan::Clean::kNone:
      break;
    case Plan::Clean::kAbout:
      if (hr != S_OK) Fault("AboutBox answered %s", HrText(hr).c_str());
      break;
    case Plan::Clean::kGet:
    case Plan::Clean::kPut:
      if (hr != S_OK) Fault("a plain property call answered %s", HrText(hr).c_str());
      break;
  }
}

void DispatchFuzzer::CheckProperty(IDispatch* control, const Plan& plan, HRESULT hr) {
  const PropertyDef& def = *FindProperty(plan.id);
  PropValue now;
  SetCurrentCall(CurrentCall() + " (then reading it back)");
  const HRESULT read = ReadProperty(control, def.id, now);
  if (FAILED(read)) {
    Fault("reading %ls back answered %s", def.name, HrText(read).c_str());
    return;
  }
  if (now.vt != def.vt) {
    Fault("%ls reads back as %s, not its declared type", def.name, now.Describe().c_str());
  }
  if (def.vt == VT_BOOL && now.number != VARIANT_TRUE && now.number != VARIANT_FALSE) {
    Fault("%ls reads back as %s, neither VARIANT_TRUE nor VARIANT_FALSE", def.name,
          now.Describe().c_str());
  }
  PropValue& known = model_[def.id - 1];
  const bool put = (plan.flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
  if (plan.clean == Plan::Clean::kPut && hr == S_OK && now != plan.put) {
    Fault("%ls was put %s and reads back %s", def.name, plan.put.Describe().c_str(),
          now.Describe().c_str());
  }
  if (!(put && SUCCEEDED(hr)) && now != known) {
    Fault("%ls changed from %s to %s in a call answered %s", def.name, known.Describe().c_str(),
          now.Describe().c_str(), HrText(hr).c_str());
  }
  known = now;
}

void DispatchFuzzer::CheckAll(IDispatch* control) {
  SetCurrentCall("reading every property after Invoke #" + std::to_string(stats_.invokes));
  for (const PropertyDef& def : Properties()) {
    PropValue now;
    const HRESULT hr = ReadProperty(control, def.id, now);
    if (FAILED(hr)) {
      Fault("reading %ls answered %s", def.name, HrText(hr).c_str());
    } else if (now != model_[def.id - 1]) {
      Fault("%ls is %s, last seen as %s", def.name, now.Describe().c_str(),
            model_[def.id - 1].Describe().c_str());
      model_[def.id - 1] = now;
    }
  }
}

}  // namespace hostile
