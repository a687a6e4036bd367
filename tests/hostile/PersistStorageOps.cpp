// The IPersistStorage operations of PersistFuzzer: storages from the system's compound file
// implementation in memory, saved by the control, damaged stream by stream, empty, or null,
// handed over in any order of InitNew, Load, Save, SaveCompleted and HandsOffStorage.
#include "PersistFuzzer.h"
#include "Verdict.h"

namespace hostile {

namespace {

hostkit::ComRef<IStorage> NewStorage() {
  hostkit::ComRef<ILockBytes> bytes;
  hostkit::ComRef<IStorage> storage;
  if (FAILED(CreateILockBytesOnHGlobal(nullptr, TRUE, bytes.Put()))) return storage;
  StgCreateDocfileOnILockBytes(bytes.Get(),
                               STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0,
                               storage.Put());
  return storage;
}

bool ReadStream(IStorage* storage, const wchar_t* name, std::vector<uint8_t>& bytes) {
  hostkit::ComRef<IStream> stream;
  if (FAILED(storage->OpenStream(name, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0,
                                 stream.Put()))) {
    return false;
  }
  STATSTG stat = {};
  if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) || stat.cbSize.QuadPart > (1u << 24)) {
    return false;
  }
  bytes.resize(static_cast<size_t>(stat.cbSize.QuadPart));
  ULONG got = 0;
  return bytes.empty() ||
         (SUCCEEDED(stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &got)) &&
          got == bytes.size());
}

bool WriteStream(IStorage* storage, const wchar_t* name, const std::vector<uint8_t>& bytes) {
  hostkit::ComRef<IStream> stream;
  if (FAILED(storage->CreateStream(name, STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0, 0,
                                   stream.Put()))) {
    return false;
  }
  ULONG done = 0;
  return bytes.empty() ||
         SUCCEEDED(stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &done));
}

// A copy of `source` whose streams are damaged (each with its own mutation). Returns what
// was done; `intact` tells whether every stream came through unchanged.
std::string DamagedCopy(Random& rng, IStorage* source, IStorage* target, bool& intact) {
  intact = true;
  std::string what;
  hostkit::ComRef<IEnumSTATSTG> elements;
  if (FAILED(source->EnumElements(0, nullptr, 0, elements.Put()))) return "nothing to copy";
  STATSTG stat;
  ULONG got = 0;
  while (elements->Next(1, &stat, &got) == S_OK && got == 1) {
    if (stat.type == STGTY_STREAM) {
      std::vector<uint8_t> bytes;
      if (ReadStream(source, stat.pwcsName, bytes)) {
        if (rng.OneIn(2)) {
          Mutation m = Mutate(rng, bytes);
          if (m.bytes != bytes) intact = false;
          what += m.what + "; ";
          bytes = std::move(m.bytes);
        }
        WriteStream(target, stat.pwcsName, bytes);
      }
    } else if (stat.type == STGTY_STORAGE) {
      hostkit::ComRef<IStorage> from;
      hostkit::ComRef<IStorage> to;
      if (SUCCEEDED(source->OpenStorage(stat.pwcsName, nullptr,
                                        STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0,
                                        from.Put())) &&
          SUCCEEDED(target->CreateStorage(stat.pwcsName,
                                          STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE,
                                          0, 0, to.Put()))) {
        from->CopyTo(0, nullptr, nullptr, to.Get());
      }
    }
    CoTaskMemFree(stat.pwcsName);
  }
  return what.empty() ? "an intact copy" : what;
}

}  // namespace

void PersistFuzzer::StorageRound() {
  ++stats_.storageRounds;
  hostkit::ComRef<IStorage>& last = lastStorage_;
  Values& lastValues = lastStorageValues_;
  if (!last || rng_.OneIn(8)) {
    Describe("IPersistStorage::Save into a new storage");
    hostkit::ComRef<IStorage> target = NewStorage();
    Values before;
    if (!target || !ReadAll(before)) return;
    const HRESULT hr = storage_->Save(target.Get(), FALSE);
    if (!AcceptableHr(hr, Surface::kPersist)) {
      Fault("IPersistStorage::Save answered %s", HrText(hr).c_str());
    }
    const HRESULT done = storage_->SaveCompleted(nullptr);
    if (!AcceptableHr(done, Surface::kPersist)) {
      Fault("IPersistStorage::SaveCompleted answered %s", HrText(done).c_str());
    }
    if (hr == S_OK) {
      last = std::move(target);
      lastValues = before;
    }
  }
  for (uint32_t step = 1 + rng_.Below(4); step > 0; --step) {
    const uint32_t roll = rng_.Below(7);
    HRESULT hr = S_OK;
    std::string what;
    bool must_refuse = false;
    bool intact = false;
    hostkit::ComRef<IStorage> given;
    if (roll == 0) {
      given = NewStorage();
      what = "IPersistStorage::InitNew";
      Describe(what);
      hr = storage_->InitNew(given.Get());
    } else if (roll <= 3 && last) {
      given = NewStorage();
      if (!given) return;
      std::string damage;
      if (roll == 1) {
        damage = "an empty storage";
      } else {
        damage = DamagedCopy(rng_, last.Get(), given.Get(), intact);
      }
      what = "IPersistStorage::Load of " + damage;
      Describe(what);
      hr = storage_->Load(given.Get());
    } else if (roll == 4) {
      what = "IPersistStorage::Load(NULL)";
      must_refuse = true;
      Describe(what);
      hr = storage_->Load(nullptr);
    } else if (roll == 5) {
      given = NewStorage();
      what = "IPersistStorage::Save and SaveCompleted";
      Describe(what);
      hr = storage_->Save(given.Get(), rng_.OneIn(2));
      const HRESULT done = storage_->SaveCompleted(rng_.OneIn(2) ? given.Get() : nullptr);
      if (!AcceptableHr(done, Surface::kPersist)) {
        Fault("IPersistStorage::SaveCompleted answered %s", HrText(done).c_str());
      }
    } else {
      what = "IPersistStorage::HandsOffStorage, then IsDirty";
      Describe(what);
      hr = storage_->HandsOffStorage();
      const HRESULT dirty = storage_->IsDirty();
      if (dirty != S_OK && dirty != S_FALSE) Fault("IsDirty answered %s", HrText(dirty).c_str());
    }
    if (!AcceptableHr(hr, Surface::kPersist)) Fault("%s answered %s", what.c_str(), HrText(hr).c_str());
    if (must_refuse && SUCCEEDED(hr)) Fault("%s answered %s", what.c_str(), HrText(hr).c_str());
    if (what.rfind("IPersistStorage::Load", 0) == 0) {
      if (SUCCEEDED(hr)) {
        Known known = {};
        if (intact && roll != 1) {
          for (const PropertyDef& def : Properties()) known[def.id - 1] = def.persisted;
        }
        ExpectValues(CutBySave(lastValues), known, "loading the storage");
      } else {
        CheckWorks("a refused storage load");
      }
    }
    dirty_ = Dirty::kUnknown;
  }
}

}  // namespace hostile
