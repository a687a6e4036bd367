#include "PersistFuzzer.h"

#include <cstdio>

#include "HostileBag.h"
#include "HostileStream.h"
#include "Verdict.h"

namespace hostile {

namespace {
// {FE4F5263-11D5-4724-95BA-A978983B6369}
const CLSID kClsidPelioran = {
    0xfe4f5263, 0x11d5, 0x4724, {0x95, 0xba, 0xa9, 0x78, 0x98, 0x3b, 0x63, 0x69}};
constexpr size_t kSavedKept = 8;
}  // namespace

PersistFuzzer::PersistFuzzer(Random& rng, ProbePool& probes)
    : rng_(rng), probes_(probes), values_(rng, probes) {
  // Just past what a save keeps of a text: every read of the properties copies them, and
  // the 1 Mi texts of the dispatch calls would make each operation cost milliseconds.
  values_.SetLongestText(64 * 1024 + 1);
}

bool PersistFuzzer::Attach(IUnknown* control) {
  dispatch_.Reset();
  stream_.Reset();
  bag_.Reset();
  memory_.Reset();
  storage_.Reset();
  saved_.clear();
  savedMemory_.clear();
  lastStorage_.Reset();
  dirty_ = Dirty::kUnknown;
  SetCurrentCall("persistence: QueryInterface of a new control");
  if (FAILED(control->QueryInterface(IID_IDispatch, dispatch_.PutVoid())) ||
      FAILED(control->QueryInterface(IID_IPersistStreamInit, stream_.PutVoid())) ||
      FAILED(control->QueryInterface(IID_IPersistPropertyBag, bag_.PutVoid()))) {
    Fault("the control lacks IDispatch, IPersistStreamInit or IPersistPropertyBag");
    return false;
  }
  // Newer persistence interfaces, when the control answers them.
  if (SUCCEEDED(control->QueryInterface(IID_IPersistMemory, memory_.PutVoid()))) {
    sawMemory_ = true;
  }
  if (SUCCEEDED(control->QueryInterface(IID_IPersistStorage, storage_.PutVoid()))) {
    sawStorage_ = true;
  }
  return true;
}

void PersistFuzzer::Run(IUnknown* control, uint64_t operations) {
  if (!Attach(control)) return;
  probes_.SetReentry([this] { Reenter(); });
  for (uint64_t k = 0; k < operations; ++k) Operation();
  probes_.SetReentry(nullptr);
  SetCurrentCall("persistence: letting the control go");
  lastStorage_.Reset();
  dispatch_.Reset();
  stream_.Reset();
  bag_.Reset();
  memory_.Reset();
  storage_.Reset();
}

void PersistFuzzer::Describe(const std::string& what) {
  SetCurrentCall("persistence #" + std::to_string(ops_) + ": " + what);
}

void PersistFuzzer::Operation() {
  ++ops_;
  reentered_ = false;
  opReentries_ = probes_.Reentries();
  const uint32_t roll = rng_.Below(100);
  if (roll < 26) {
    BagLoad();
  } else if (roll < 32) {
    BagSave();
  } else if (roll < 58) {
    StreamLoad();
  } else if (roll < 64) {
    StreamSave();
  } else if (roll < 67) {
    InitNew();
  } else if (roll < 75) {
    Puts();
  } else if (roll < 78) {
    NullArguments();
  } else if (roll < 88) {
    if (memory_) MemoryLoad(); else StreamLoad();
  } else if (roll < 91) {
    if (memory_) MemorySave(); else StreamSave();
  } else {
    if (storage_) StorageRound(); else BagLoad();
  }
  probes_.Check("persistence");
  if (Reentered()) dirty_ = Dirty::kUnknown;
}

bool PersistFuzzer::Reentered() const {
  return reentered_ || probes_.Reentries() != opReentries_;
}

void PersistFuzzer::Reenter() {
  reentered_ = true;
  switch (rng_.Below(7)) {
    case 0: {
      const PropertyDef& def = Properties()[rng_.Below(kPropertyCount)];
      VARIANT v;
      values_.Fill(&v, def.vt);
      WriteProperty(dispatch_.Get(), def.id, v);
      VariantClear(&v);
      break;
    }
    case 1: {
      ULARGE_INTEGER size;
      stream_->GetSizeMax(&size);
      break;
    }
    case 2: {
      auto bag = std::make_unique<HostileBag>();
      bag_->Save(bag.get(), FALSE, TRUE);
      LetGo(bag, "bag");
      break;
    }
    case 3:
      stream_->InitNew();
      break;
    case 4:
      stream_->IsDirty();
      break;
    case 5: {
      auto stream = std::make_unique<HostileStream>();
      stream_->Save(stream.get(), FALSE);
      LetGo(stream, "stream");
      break;
    }
    default: {
      auto bag = std::make_unique<HostileBag>();
      VARIANT v;
      VariantInit(&v);
      V_VT(&v) = VT_BSTR;
      V_BSTR(&v) = SysAllocString(L"10.1.2.3");
      bag->Deal(L"strIpAddr", HostileBag::Answer::kValue, S_OK, &v);
      bag_->Load(bag.get(), nullptr);
      LetGo(bag, "bag");
      break;
    }
  }
}

bool PersistFuzzer::ReadAll(Values& out) {
  bool ok = true;
  for (const PropertyDef& def : Properties()) {
    PropValue& v = out[def.id - 1];
    const HRESULT hr = ReadProperty(dispatch_.Get(), def.id, v);
    if (FAILED(hr)) {
      Fault("reading %ls answered %s", def.name, HrText(hr).c_str());
      ok = false;
    } else if (v.vt != def.vt) {
      Fault("%ls reads as %s, not its declared type", def.name, v.Describe().c_str());
      ok = false;
    }
  }
  return ok;
}

void PersistFuzzer::ExpectValues(const Values& expected, const Known& known, const char* after) {
  Values now;
  if (!ReadAll(now)) return;
  // A call back from inside changed what the outcome is: the types are still certain.
  if (Reentered()) return;
  for (const PropertyDef& def : Properties()) {
    const size_t k = def.id - 1;
    if (known[k] && now[k] != expected[k]) {
      Fault("after %s, %ls is %s; expected %s", after, def.name, now[k].Describe().c_str(),
            expected[k].Describe().c_str());
    }
  }
}

void PersistFuzzer::CheckWorks(const char* after) {
  Values now;
  ReadAll(now);
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_I4;
  V_I4(&v) = static_cast<LONG>(rng_.Next32());
  const HRESULT hr = WriteProperty(dispatch_.Get(), 2, v);
  PropValue back;
  if (hr != S_OK) {
    Fault("after %s, putting iHttpPort answered %s", after, HrText(hr).c_str());
  } else if (FAILED(ReadProperty(dispatch_.Get(), 2, back)) || back != ValueOf(v)) {
    Fault("after %s, iHttpPort put %ld reads back %s", after, static_cast<long>(V_I4(&v)),
          back.Describe().c_str());
  }
  dirty_ = Dirty::kDirty;
}

void PersistFuzzer::CheckDirty() {
  const HRESULT hr = stream_->IsDirty();
  if (hr != S_OK && hr != S_FALSE) {
    Fault("IsDirty answered %s", HrText(hr).c_str());
  } else if (Reentered()) {
    return;  // a call back from inside may have changed it either way
  } else if (dirty_ == Dirty::kClean && hr != S_FALSE) {
    Fault("IsDirty answered S_OK with nothing changed since the last load or save");
  } else if (dirty_ == Dirty::kDirty && hr != S_OK) {
    Fault("IsDirty answered S_FALSE after a property changed");
  }
}

void PersistFuzzer::InitNew() {
  ++stats_.initNews;
  const bool through_bag = rng_.OneIn(3);
  Describe(through_bag ? "IPersistPropertyBag::InitNew" : "IPersistStreamInit::InitNew");
  const HRESULT hr = through_bag ? bag_->InitNew() : stream_->InitNew();
  if (!AcceptableHr(hr, Surface::kPersist)) Fault("InitNew answered %s", HrText(hr).c_str());
  if (hr != S_OK) return;
  Values expected;
  Known known = {};
  for (const PropertyDef& def : Properties()) {
    expected[def.id - 1] = DefaultValue(def);
    known[def.id - 1] = def.persisted;
  }
  ExpectValues(expected, known, "InitNew");
  dirty_ = Dirty::kClean;
  CheckDirty();
}

void PersistFuzzer::Puts() {
  const uint32_t n = 1 + rng_.Below(4);
  for (uint32_t k = 0; k < n; ++k) {
    ++stats_.puts;
    const PropertyDef& def = Properties()[rng_.Below(kPropertyCount)];
    VARIANT v;
    if (rng_.OneIn(2)) {
      values_.Fill(&v, values_.RandomValueType());
    } else {
      values_.Fill(&v, def.vt);
    }
    Describe("putting " + std::string(def.name, def.name + wcslen(def.name)) + " = " +
             DescribeVariant(v));
    const HRESULT hr = WriteProperty(dispatch_.Get(), def.id, v);
    if (!AcceptableHr(hr, Surface::kDispatch)) Fault("the put answered %s", HrText(hr).c_str());
    if (SUCCEEDED(hr)) dirty_ = Dirty::kDirty;
    VariantClear(&v);
  }
  if (rng_.OneIn(4)) CheckDirty();
}

void PersistFuzzer::NullArguments() {
  Describe("null arguments to the persistence methods");
  struct Call {
    const char* name;
    HRESULT hr;
  };
  CLSID clsid = GUID_NULL;
  const HRESULT class_id = stream_->GetClassID(&clsid);
  if (class_id != S_OK || !IsEqualCLSID(clsid, kClsidPelioran)) {
    Fault("GetClassID answered %s with another class", HrText(class_id).c_str());
  }
  const Call calls[] = {
      {"GetClassID(NULL)", stream_->GetClassID(nullptr)},
      {"IPersistStreamInit::Save(NULL)", stream_->Save(nullptr, TRUE)},
      {"IPersistStreamInit::GetSizeMax(NULL)", stream_->GetSizeMax(nullptr)},
      {"IPersistPropertyBag::Save(NULL)", bag_->Save(nullptr, TRUE, TRUE)},
      {"IPersistPropertyBag::Load(NULL)", bag_->Load(nullptr, nullptr)},
      {"IPersistStreamInit::Load(NULL)", stream_->Load(nullptr)},
  };
  for (const Call& c : calls) {
    if (!AcceptableHr(c.hr, Surface::kPersist) || SUCCEEDED(c.hr)) {
      Fault("%s answered %s", c.name, HrText(c.hr).c_str());
    }
  }
  // A refused load may have reset the control.
  dirty_ = Dirty::kUnknown;
  CheckWorks("loads of null");
  CheckDirty();
}

const PersistFuzzer::Saved& PersistFuzzer::SomeSaved() {
  if (saved_.empty() || rng_.OneIn(4)) {
    Saved s;
    if (ReadAll(s.values) && SaveToBytes(s.bytes)) {
      if (saved_.size() >= kSavedKept) saved_.erase(saved_.begin());
      saved_.push_back(std::move(s));
    }
  }
  if (saved_.empty()) {
    static const Saved kNothing{};
    return kNothing;
  }
  return saved_[rng_.Below(static_cast<uint32_t>(saved_.size()))];
}

std::string PersistFuzzer::Summary() const {
  char text[512];
  std::snprintf(
      text, sizeof(text),
      "%llu operations: %llu bag loads, %llu bag saves, %llu stream loads (%llu refused), "
      "%llu stream saves, %llu memory loads (%llu refused), %llu memory saves, "
      "%llu storage rounds, %llu InitNew, %llu puts; texts over 64 Ki cut by a save: %llu; "
      "driven: IPersistStreamInit, IPersistPropertyBag%s%s",
      static_cast<unsigned long long>(ops_), static_cast<unsigned long long>(stats_.bagLoads),
      static_cast<unsigned long long>(stats_.bagSaves),
      static_cast<unsigned long long>(stats_.streamLoads),
      static_cast<unsigned long long>(stats_.streamRefused),
      static_cast<unsigned long long>(stats_.streamSaves),
      static_cast<unsigned long long>(stats_.memoryLoads),
      static_cast<unsigned long long>(stats_.memoryRefused),
      static_cast<unsigned long long>(stats_.memorySaves),
      static_cast<unsigned long long>(stats_.storageRounds),
      static_cast<unsigned long long>(stats_.initNews),
      static_cast<unsigned long long>(stats_.puts),
      static_cast<unsigned long long>(stats_.textsCut),
      sawMemory_ ? ", IPersistMemory" : " (no IPersistMemory)",
      sawStorage_ ? ", IPersistStorage" : " (no IPersistStorage)");
  return text;
}

}  // namespace hostile
