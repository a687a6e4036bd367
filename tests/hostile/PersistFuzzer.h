#pragma once

#include <windows.h>
#include <ocidl.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "ComRef.h"
#include "Mutator.h"
#include "ProbeDispatch.h"
#include "Properties.h"
#include "Random.h"
#include "ValueMaker.h"

namespace hostile {

class HostileBag;

// The persistence half: a hostile container's property bags and streams (and memory blocks
// and storages, when the control answers IPersistMemory and IPersistStorage) handed to Load,
// alternating with Save, InitNew and property puts. Besides "no crash, proper HRESULT" it
// checks: a block the control saved loads back to the same values; a block shorter than it
// claims, or claiming more than 1 MiB, is refused; a load that succeeds read no further than
// its block; a refused load leaves a control that works; a bag's plain values arrive as
// given and missing ones give the defaults; Save writes every persisted property, with its
// type, and a refused write fails the Save; InitNew gives the defaults; IsDirty follows.
class PersistFuzzer {
 public:
  PersistFuzzer(Random& rng, ProbePool& probes);

  void Run(IUnknown* control, uint64_t operations);
  // Also values no script or page can make (see ValueMaker).
  void AllowMalformed(bool allow) { values_.AllowMalformed(allow); }
  std::string Summary() const;
  void ResetStats() {
    stats_ = Stats();
    ops_ = 0;
  }

 private:
  using Values = std::array<PropValue, kPropertyCount>;
  using Known = std::array<bool, kPropertyCount>;
  struct Saved {
    std::vector<uint8_t> bytes;
    Values values;
  };
  enum class Dirty { kUnknown, kClean, kDirty };

  bool Attach(IUnknown* control);
  void Operation();
  // A call back into the control from inside one of its calls (a put, Save, InitNew...).
  void Reenter();
  bool Reentered() const;
  void Describe(const std::string& what);

  // PersistFuzzer.cpp
  bool ReadAll(Values& out);
  void ExpectValues(const Values& expected, const Known& known, const char* after);
  void CheckWorks(const char* after);
  void CheckDirty();
  void InitNew();
  void Puts();
  void NullArguments();
  const Saved& SomeSaved();

  // PersistBagOps.cpp
  void BagLoad();
  void BagSave();
  void DealFor(HostileBag& bag, const PropertyDef& def, PropValue& expected, bool& known);

  // PersistStreamOps.cpp
  void StreamLoad();
  void StreamSave();
  bool SaveToBytes(std::vector<uint8_t>& bytes);
  void MemoryLoad();
  void MemorySave();
  Values CutBySave(const Values& values);

  // PersistStorageOps.cpp
  void StorageRound();

  Random& rng_;
  ProbePool& probes_;
  ValueMaker values_;
  hostkit::ComRef<IDispatch> dispatch_;
  hostkit::ComRef<IPersistStreamInit> stream_;
  hostkit::ComRef<IPersistPropertyBag> bag_;
  hostkit::ComRef<IPersistMemory> memory_;
  hostkit::ComRef<IPersistStorage> storage_;
  std::vector<Saved> saved_;        // recent stream saves
  std::vector<Saved> savedMemory_;  // recent IPersistMemory saves
  hostkit::ComRef<IStorage> lastStorage_;    // the storage the control last saved into
  Values lastStorageValues_;        // and what it held then
  Dirty dirty_ = Dirty::kUnknown;
  uint64_t ops_ = 0;
  bool reentered_ = false;     // this operation called back into the control
  uint64_t opReentries_ = 0;   // the probes' calls back when it began
  bool sawMemory_ = false;
  bool sawStorage_ = false;

  struct Stats {
    uint64_t bagLoads = 0, bagSaves = 0, streamLoads = 0, streamRefused = 0, streamSaves = 0,
             memoryLoads = 0, memoryRefused = 0, memorySaves = 0, storageRounds = 0,
             initNews = 0, puts = 0, textsCut = 0;
  } stats_;
};

}  // namespace hostile
