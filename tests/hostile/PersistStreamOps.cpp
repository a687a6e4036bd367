// The stream and memory operations of PersistFuzzer.
#include "GuardedBuffer.h"
#include "HostileStream.h"
#include "PersistFuzzer.h"
#include "Verdict.h"

namespace hostile {

namespace {

// A saved block keeps at most this much of each text (addresses and credentials are short;
// the loader refuses more), so a longer text reads back cut.
constexpr size_t kTextKeptBySave = 64 * 1024;
constexpr size_t kSavedKept = 8;

const HRESULT kReadFailures[] = {STG_E_READFAULT, E_FAIL, E_OUTOFMEMORY, STG_E_ACCESSDENIED,
                                 S_FALSE, static_cast<HRESULT>(0x8FFF0002L)};
const HRESULT kWriteFailures[] = {STG_E_MEDIUMFULL, STG_E_WRITEFAULT, E_FAIL, S_OK};

// The length of the block at the front of `bytes`, header included, or its size when it
// is shorter than it says.
uint64_t BlockEnd(const std::vector<uint8_t>& bytes) {
  if (bytes.size() < 4) return bytes.size();
  const uint64_t end = 4 + static_cast<uint64_t>(DeclaredLength(bytes));
  return end < bytes.size() ? end : bytes.size();
}

bool LooksLikeBlock(const std::vector<uint8_t>& bytes) {
  return bytes.size() >= 4 && DeclaredLength(bytes) == bytes.size() - 4;
}

}  // namespace

PersistFuzzer::Values PersistFuzzer::CutBySave(const Values& values) {
  Values out = values;
  for (PropValue& v : out) {
    if (v.vt == VT_BSTR && v.text.size() > kTextKeptBySave) v.text.resize(kTextKeptBySave);
  }
  return out;
}

bool PersistFuzzer::SaveToBytes(std::vector<uint8_t>& bytes) {
  auto stream = std::make_unique<HostileStream>();
  const HRESULT hr = stream_->Save(stream.get(), FALSE);
  if (!LetGo(stream, "stream")) return false;
  if (hr != S_OK) {
    Fault("IPersistStreamInit::Save into a willing stream answered %s", HrText(hr).c_str());
    return false;
  }
  bytes = stream->Data();
  return true;
}

void PersistFuzzer::StreamLoad() {
  ++stats_.streamLoads;
  Describe("saving a block to damage");
  const Saved& source = SomeSaved();
  if (source.bytes.empty()) return;
  Mutation m = Mutate(rng_, source.bytes);
  const uint64_t prefix = rng_.OneIn(5) ? 1 + rng_.Below(32) : 0;
  std::vector<uint8_t> data(prefix, 0xCC);
  data.insert(data.end(), m.bytes.begin(), m.bytes.end());
  auto stream = std::make_unique<HostileStream>(std::move(data));
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(prefix);
  stream->Seek(at, STREAM_SEEK_SET, nullptr);
  std::string what = "IPersistStreamInit::Load of " + m.what;
  if (prefix) what += ", after " + std::to_string(prefix) + " bytes of other data";
  HRESULT injected = S_OK;
  const uint64_t block_end = BlockEnd(m.bytes);
  if (block_end > 0 && rng_.OneIn(6)) {
    injected = rng_.Pick(kReadFailures);
    const uint64_t fail_at = prefix + rng_.Below(static_cast<uint32_t>(block_end));
    stream->FailReadAt(fail_at, injected);
    what += ", the stream failing at byte " + std::to_string(fail_at - prefix) + " with " +
            HrText(injected);
  }
  if (rng_.OneIn(20)) {
    const size_t at = rng_.Below(3);
    stream->ReenterOnRead(at, [this] { Reenter(); });
    what += ", calling back into the control from read " + std::to_string(at);
  }
  Describe(what);
  const HRESULT hr = stream_->Load(stream.get());
  if (!AcceptableHr(hr, Surface::kPersist, injected)) {
    Fault("IPersistStreamInit::Load answered %s", HrText(hr).c_str());
  }
  if (!LetGo(stream, "stream")) return;
  const bool must_refuse = stream->ReadFailed() || m.expect == Mutation::Expect::kRefuse;
  if (must_refuse && SUCCEEDED(hr)) {
    Fault("Load accepted it, answering %s", HrText(hr).c_str());
  } else if (!must_refuse && m.expect == Mutation::Expect::kAccept && hr != S_OK) {
    Fault("Load of a block the control saved answered %s", HrText(hr).c_str());
  }
  if (SUCCEEDED(hr)) {
    const uint64_t read = stream->Position() - prefix;
    if (read != block_end) {
      Fault("Load succeeded having read %llu bytes of a block of %llu",
            static_cast<unsigned long long>(read), static_cast<unsigned long long>(block_end));
    }
    Known known = {};
    if (m.expect == Mutation::Expect::kAccept) {
      for (const PropertyDef& def : Properties()) known[def.id - 1] = def.persisted;
    }
    ExpectValues(CutBySave(source.values), known, "loading the block");
    dirty_ = Dirty::kClean;
    if (rng_.OneIn(4)) CheckDirty();
  } else {
    ++stats_.streamRefused;
    dirty_ = Dirty::kUnknown;
    CheckWorks("a refused stream load");
  }
}

void PersistFuzzer::StreamSave() {
  ++stats_.streamSaves;
  Describe("reading the properties before a stream save");
  Values before;
  if (!ReadAll(before)) return;
  ULARGE_INTEGER max = {};
  const HRESULT size_hr = stream_->GetSizeMax(&max);
  if (size_hr != S_OK) Fault("GetSizeMax answered %s", HrText(size_hr).c_str());

  const uint64_t prefix = rng_.OneIn(5) ? 1 + rng_.Below(32) : 0;
  auto stream = std::make_unique<HostileStream>(std::vector<uint8_t>(prefix, 0xCC));
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(prefix);
  stream->Seek(at, STREAM_SEEK_SET, nullptr);
  const bool inject = rng_.Percent(30) && max.QuadPart > 0;
  const HRESULT refusal = rng_.Pick(kWriteFailures);
  std::string what = "IPersistStreamInit::Save";
  if (inject) {
    const uint64_t fail_at = rng_.Below(static_cast<uint32_t>(max.QuadPart));
    stream->FailWriteAt(prefix + fail_at, refusal);
    what += ", the stream failing at byte " + std::to_string(fail_at) + " with " +
            (refusal == S_OK ? std::string("a short write") : HrText(refusal));
  }
  const BOOL clear = rng_.OneIn(2);
  if (clear) what += ", clearing dirty";
  Describe(what);
  const HRESULT hr = stream_->Save(stream.get(), clear);
  if (!AcceptableHr(hr, Surface::kPersist, refusal)) {
    Fault("IPersistStreamInit::Save answered %s", HrText(hr).c_str());
  }
  if (!LetGo(stream, "stream")) return;
  if (stream->WriteFailed()) {
    if (SUCCEEDED(hr)) Fault("Save answered %s although a write failed", HrText(hr).c_str());
    Known all;
    all.fill(true);
    ExpectValues(before, all, "a failed save");
    return;
  }
  if (hr != S_OK) {
    Fault("Save into a willing stream answered %s", HrText(hr).c_str());
    return;
  }
  std::vector<uint8_t> bytes(stream->Data().begin() + static_cast<ptrdiff_t>(prefix),
                             stream->Data().end());
  if (bytes.size() > max.QuadPart) {
    Fault("Save wrote %zu bytes; GetSizeMax said at most %llu", bytes.size(),
          static_cast<unsigned long long>(max.QuadPart));
  }
  if (!LooksLikeBlock(bytes)) Fault("Save wrote %zu bytes that are not one block", bytes.size());
  if (clear) dirty_ = Dirty::kClean;
  for (const PropValue& v : before) {
    if (v.vt == VT_BSTR && v.text.size() > kTextKeptBySave) ++stats_.textsCut;
  }
  if (saved_.size() >= kSavedKept) saved_.erase(saved_.begin());
  saved_.push_back({bytes, before});
  if (rng_.OneIn(2)) return;

  auto again = std::make_unique<HostileStream>(bytes);
  Describe("IPersistStreamInit::Load of what Save wrote, after InitNew");
  HRESULT step = stream_->InitNew();
  if (step == S_OK) step = stream_->Load(again.get());
  if (step != S_OK) {
    Fault("InitNew and loading a saved block answered %s", HrText(step).c_str());
  } else {
    Known known = {};
    for (const PropertyDef& def : Properties()) known[def.id - 1] = def.persisted;
    ExpectValues(CutBySave(before), known, "loading what Save wrote");
  }
  LetGo(again, "stream");
  dirty_ = Dirty::kClean;
}

void PersistFuzzer::MemorySave() {
  ++stats_.memorySaves;
  Describe("reading the properties before a memory save");
  Values before;
  if (!ReadAll(before)) return;
  ULONG max = 0;
  const HRESULT size_hr = memory_->GetSizeMax(&max);
  if (size_hr != S_OK) {
    Fault("IPersistMemory::GetSizeMax answered %s", HrText(size_hr).c_str());
    return;
  }
  ULONG size = max;
  switch (rng_.Below(5)) {
    case 0:
      size = max + rng_.Below(64);
      break;
    case 1:
      size = max > 0 ? rng_.Below(max) : 0;
      break;
    case 2:
      size = 0;
      break;
    default:
      break;
  }
  constexpr size_t kGuard = 16;
  constexpr uint8_t kUntouched = 0xEE;
  std::vector<uint8_t> buffer(size + kGuard, kUntouched);
  const bool null_buffer = rng_.OneIn(12) && size > 0;
  const BOOL clear = rng_.OneIn(2);
  Describe("IPersistMemory::Save into " + std::to_string(size) + " bytes (GetSizeMax " +
           std::to_string(max) + ")" + (null_buffer ? ", pMem null" : ""));
  const HRESULT hr = memory_->Save(null_buffer ? nullptr : buffer.data(), clear, size);
  if (!AcceptableHr(hr, Surface::kPersist)) {
    Fault("IPersistMemory::Save answered %s", HrText(hr).c_str());
  }
  for (size_t k = size; k < buffer.size(); ++k) {
    if (buffer[k] != kUntouched) {
      Fault("IPersistMemory::Save wrote past the %lu bytes it was given", size);
      break;
    }
  }
  if (null_buffer) {
    if (SUCCEEDED(hr)) Fault("IPersistMemory::Save into null answered %s", HrText(hr).c_str());
    return;
  }
  if (size >= max && hr != S_OK) {
    Fault("IPersistMemory::Save into room for GetSizeMax answered %s", HrText(hr).c_str());
  }
  if (hr != S_OK) return;
  if (clear) dirty_ = Dirty::kClean;
  buffer.resize(size);
  if (savedMemory_.size() >= kSavedKept) savedMemory_.erase(savedMemory_.begin());
  savedMemory_.push_back({buffer, before});
}

void PersistFuzzer::MemoryLoad() {
  ++stats_.memoryLoads;
  if (savedMemory_.empty() || rng_.OneIn(5)) MemorySave();
  if (savedMemory_.empty()) return;
  const Saved& source = savedMemory_[rng_.Below(static_cast<uint32_t>(savedMemory_.size()))];
  Mutation m = Mutate(rng_, source.bytes);
  // What must be refused is known for blocks only; another layout keeps "intact loads".
  if (!LooksLikeBlock(source.bytes) && m.expect == Mutation::Expect::kRefuse) {
    m.expect = Mutation::Expect::kEither;
  }
  GuardedBuffer buffer(m.bytes);
  const bool null_buffer = rng_.OneIn(15);
  const ULONG size = null_buffer ? 1 + rng_.Below(64) : static_cast<ULONG>(buffer.Size());
  Describe("IPersistMemory::Load of " + m.what + " (" + std::to_string(size) + " bytes)" +
           (null_buffer ? ", pMem null" : ""));
  const HRESULT hr = memory_->Load(null_buffer ? nullptr : buffer.Data(), size);
  if (!AcceptableHr(hr, Surface::kPersist)) {
    Fault("IPersistMemory::Load answered %s", HrText(hr).c_str());
  }
  if ((null_buffer || m.expect == Mutation::Expect::kRefuse) && SUCCEEDED(hr)) {
    Fault("IPersistMemory::Load accepted it, answering %s", HrText(hr).c_str());
  } else if (!null_buffer && m.expect == Mutation::Expect::kAccept && hr != S_OK) {
    Fault("IPersistMemory::Load of a block the control saved answered %s", HrText(hr).c_str());
  }
  if (SUCCEEDED(hr)) {
    Known known = {};
    if (m.expect == Mutation::Expect::kAccept) {
      for (const PropertyDef& def : Properties()) known[def.id - 1] = def.persisted;
    }
    ExpectValues(CutBySave(source.values), known, "loading the memory block");
    dirty_ = Dirty::kClean;
  } else {
    ++stats_.memoryRefused;
    dirty_ = Dirty::kUnknown;
    CheckWorks("a refused memory load");
  }
}

}  // namespace hostile
