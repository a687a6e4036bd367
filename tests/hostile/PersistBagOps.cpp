// The property bag operations of PersistFuzzer.
#include <cstdio>

#include "HostileBag.h"
#include "PersistFuzzer.h"
#include "Text.h"
#include "Verdict.h"

namespace hostile {

namespace {

const HRESULT kReadFailures[] = {E_INVALIDARG, E_FAIL, E_OUTOFMEMORY, E_POINTER,
                                 HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), DISP_E_TYPEMISMATCH,
                                 static_cast<HRESULT>(0x8FFF0001L)};
const HRESULT kWriteFailures[] = {E_FAIL, STG_E_ACCESSDENIED, E_OUTOFMEMORY, STG_E_MEDIUMFULL};
const wchar_t* const kExtraNames[] = {L"_Version", L"_ExtentX", L"_ExtentY", L"_StockProps"};
// Names the control does not load, iOperPaneCtls among them (it is not persisted).
const wchar_t* const kStrangerNames[] = {L"strIpAddr2", L"iHttpPort ", L"", L"Width",
                                         L"classid", L"\x4E2D", L"_Version2", L"iOperPaneCtls"};

// Some answers leave the variant holding a BSTR; BSTR of digits sometimes.
BSTR TextOf(long n) {
  wchar_t text[16];
  std::swprintf(text, 16, L"%ld", n);
  return SysAllocString(text);
}

}  // namespace

void PersistFuzzer::DealFor(HostileBag& bag, const PropertyDef& def, PropValue& expected,
                            bool& known) {
  expected = DefaultValue(def);
  known = true;
  VARIANT v;
  VariantInit(&v);
  const uint32_t roll = rng_.Below(100);
  if (roll < 20) return;  // no such <param>
  if (roll < 30) {
    bag.Deal(def.name, HostileBag::Answer::kFail, rng_.Pick(kReadFailures), &v);
    return;
  }
  if (roll < 33) {
    // Success without a value: what the control makes of it is its own choice.
    bag.Deal(def.name, HostileBag::Answer::kFail, S_FALSE, &v);
    known = false;
    return;
  }
  if (roll < 38) {
    bag.Deal(def.name, HostileBag::Answer::kFailDirty, rng_.Pick(kReadFailures), &v);
    return;
  }
  if (roll >= 70) {
    values_.Fill(&v, values_.RandomValueType());
    bag.Deal(def.name, HostileBag::Answer::kValue, S_OK, &v);
    known = false;
    return;
  }
  // A plain value, whose outcome is certain: the declared type, or text as a page gives it.
  const long n = rng_.OneIn(2) ? static_cast<long>(rng_.Next32())
                               : static_cast<long>(rng_.Between(-5, 70000));
  switch (def.vt) {
    case VT_I4:
      if (rng_.OneIn(2)) {
        V_VT(&v) = VT_I4;
        V_I4(&v) = n;
      } else {
        V_VT(&v) = VT_BSTR;
        V_BSTR(&v) = TextOf(n);
      }
      expected.number = n;
      break;
    case VT_BSTR:
      if (rng_.OneIn(3)) {
        V_VT(&v) = VT_I4;
        V_I4(&v) = n;
        wchar_t text[16];
        std::swprintf(text, 16, L"%ld", n);
        expected.text = text;
      } else {
        std::wstring text;
        for (uint32_t k = rng_.Below(40); k > 0; --k) {
          text += static_cast<wchar_t>(0x20 + rng_.Below(0x5F));
        }
        V_VT(&v) = VT_BSTR;
        V_BSTR(&v) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        expected.text = text;
      }
      break;
    default: {
      struct Word {
        const wchar_t* text;
        bool value;
      };
      static const Word kWords[] = {{L"True", true}, {L"False", false}, {L"1", true},
                                    {L"0", false},   {L"-1", true}};
      const uint32_t form = rng_.Below(3);
      bool value = false;
      if (form == 0) {
        value = rng_.OneIn(2);
        V_VT(&v) = VT_BOOL;
        V_BOOL(&v) = value ? VARIANT_TRUE : VARIANT_FALSE;
      } else if (form == 1) {
        V_VT(&v) = VT_I4;
        V_I4(&v) = rng_.OneIn(2) ? 0 : n;
        value = V_I4(&v) != 0;
      } else {
        const Word& w = rng_.Pick(kWords);
        V_VT(&v) = VT_BSTR;
        V_BSTR(&v) = SysAllocString(w.text);
        value = w.value;
      }
      expected.number = value ? VARIANT_TRUE : VARIANT_FALSE;
      break;
    }
  }
  bag.Deal(def.name, HostileBag::Answer::kValue, S_OK, &v);
}

void PersistFuzzer::BagLoad() {
  ++stats_.bagLoads;
  Values expected;
  Known known = {};
  auto bag = std::make_unique<HostileBag>();
  std::string what = "IPersistPropertyBag::Load of a bag with";
  for (const PropertyDef& def : Properties()) {
    if (!def.persisted) continue;
    DealFor(*bag, def, expected[def.id - 1], known[def.id - 1]);
    const HostileBag::Entry* e = bag->Find(def.name);
    what += " " + hostkit::Utf8(def.name) + "=";
    if (!e) {
      what += "none";
    } else if (e->answer == HostileBag::Answer::kValue) {
      what += DescribeVariant(e->value);
    } else {
      what += (e->answer == HostileBag::Answer::kFailDirty ? "dirty " : "") + HrText(e->hr);
    }
  }
  for (const wchar_t* name : kExtraNames) {
    if (rng_.OneIn(3)) continue;
    VARIANT v;
    if (rng_.OneIn(2)) {
      VariantInit(&v);
      V_VT(&v) = VT_I4;
      V_I4(&v) = rng_.OneIn(2) ? rng_.Between(-10, 50000) : static_cast<LONG>(rng_.Next32());
    } else {
      values_.Fill(&v, values_.RandomValueType());
    }
    bag->Deal(name, HostileBag::Answer::kValue, S_OK, &v);
  }
  for (uint32_t k = rng_.Below(4); k > 0; --k) {
    VARIANT v;
    values_.Fill(&v, values_.RandomValueType());
    bag->Deal(rng_.Pick(kStrangerNames), HostileBag::Answer::kValue, S_OK, &v);
  }
  if (rng_.OneIn(12)) {
    const size_t at = rng_.Below(16);
    bag->ReenterOnRead(at, [this] { Reenter(); });
    what += ", calling back into the control from read " + std::to_string(at);
  }
  Describe(what);
  const HRESULT hr = bag_->Load(bag.get(), nullptr);
  if (!AcceptableHr(hr, Surface::kPersist)) {
    Fault("IPersistPropertyBag::Load answered %s", HrText(hr).c_str());
  }
  if (!bag->Misuse().empty()) Fault("the control misused the bag: %s", bag->Misuse().c_str());
  LetGo(bag, "bag");
  bag.reset();
  if (hr == S_OK) {
    ExpectValues(expected, known, "a bag load");
    dirty_ = Dirty::kClean;
    if (rng_.OneIn(4)) CheckDirty();
  } else {
    dirty_ = Dirty::kUnknown;
    CheckWorks("a refused bag load");
  }
}

void PersistFuzzer::BagSave() {
  ++stats_.bagSaves;
  Describe("reading the properties before a bag save");
  Values before;
  if (!ReadAll(before)) return;
  auto bag = std::make_unique<HostileBag>();
  const bool inject = rng_.Percent(25);
  const HRESULT refusal = rng_.Pick(kWriteFailures);
  if (inject) bag->FailWrite(rng_.Below(20), refusal);
  const BOOL clear = rng_.OneIn(2);
  const BOOL all = rng_.OneIn(2);
  Describe(std::string("IPersistPropertyBag::Save") +
           (inject ? " into a bag refusing a write" : "") + (clear ? ", clearing dirty" : ""));
  const HRESULT hr = bag_->Save(bag.get(), clear, all);
  if (!AcceptableHr(hr, Surface::kPersist, inject ? refusal : S_OK)) {
    Fault("IPersistPropertyBag::Save answered %s", HrText(hr).c_str());
  }
  if (!bag->Misuse().empty()) Fault("the control misused the bag: %s", bag->Misuse().c_str());
  if (!LetGo(bag, "bag")) return;
  if (bag->WriteFailed()) {
    if (SUCCEEDED(hr)) Fault("Save answered %s although the bag refused a write", HrText(hr).c_str());
    return;
  }
  if (hr != S_OK) {
    Fault("Save into a willing bag answered %s", HrText(hr).c_str());
    return;
  }
  for (const PropertyDef& def : Properties()) {
    int count = 0;
    for (const HostileBag::Written& w : bag->Writes()) {
      if (w.name != def.name) continue;
      ++count;
      const PropValue got = ValueOf(w.value);
      if (V_VT(&w.value) != def.vt || got != before[def.id - 1]) {
        Fault("Save wrote %ls as %s; it is %s", def.name, DescribeVariant(w.value).c_str(),
              before[def.id - 1].Describe().c_str());
      }
    }
    if (def.persisted && count != 1) Fault("Save wrote %ls %d times", def.name, count);
    if (!def.persisted && count != 0) Fault("Save wrote %ls, which is not persisted", def.name);
  }
  for (const HostileBag::Written& w : bag->Writes()) {
    bool ours = !w.name.empty() && w.name[0] == L'_';
    for (const PropertyDef& def : Properties()) ours = ours || w.name == def.name;
    if (!ours) {
      Fault("Save wrote a value under the name \"%s\"", hostkit::Utf8(w.name).c_str());
    }
  }
  if (clear) dirty_ = Dirty::kClean;
  if (!rng_.OneIn(2)) return;

  // What was written loads back into a new state.
  auto again = std::make_unique<HostileBag>();
  for (const HostileBag::Written& w : bag->Writes()) {
    VARIANT copy;
    VariantInit(&copy);
    VariantCopy(&copy, const_cast<VARIANT*>(&w.value));
    again->Deal(w.name, HostileBag::Answer::kValue, S_OK, &copy);
  }
  Describe("IPersistPropertyBag::Load of what Save wrote, after InitNew");
  HRESULT step = stream_->InitNew();
  if (step == S_OK) step = bag_->Load(again.get(), nullptr);
  if (step != S_OK) {
    Fault("InitNew and loading a saved bag answered %s", HrText(step).c_str());
  } else {
    Known known = {};
    for (const PropertyDef& def : Properties()) known[def.id - 1] = def.persisted;
    ExpectValues(before, known, "loading what Save wrote");
  }
  LetGo(again, "bag");
  dirty_ = Dirty::kClean;
}

}  // namespace hostile
