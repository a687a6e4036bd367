#include "com/StorageState.h"

namespace pel::com {

HRESULT StorageState::CheckInit(IStorage* storage) const {
  if (!storage) return E_INVALIDARG;
  return mode_ == Mode::kUninitialized ? S_OK : CO_E_ALREADYINITIALIZED;
}

void StorageState::Initialized(IStorage* storage) {
  held_ = ComPtr<IStorage>(storage);
  mode_ = Mode::kNormal;
}

HRESULT StorageState::CheckSave(IStorage* target) const {
  if (!target) return E_INVALIDARG;
  return mode_ == Mode::kNormal ? S_OK : E_UNEXPECTED;
}

void StorageState::Saved() { mode_ = Mode::kNoScribble; }

HRESULT StorageState::Complete(IStorage* next) {
  switch (mode_) {
    case Mode::kNoScribble:
      break;
    case Mode::kHandsOffAfterSave:
    case Mode::kHandsOffFromNormal:
      if (!next) return E_INVALIDARG;
      break;
    default:
      return E_UNEXPECTED;
  }
  if (next) held_ = ComPtr<IStorage>(next);
  mode_ = Mode::kNormal;
  return S_OK;
}

HRESULT StorageState::HandsOff() {
  switch (mode_) {
    case Mode::kNormal:
      mode_ = Mode::kHandsOffFromNormal;
      break;
    case Mode::kNoScribble:
      mode_ = Mode::kHandsOffAfterSave;
      break;
    default:
      return E_UNEXPECTED;
  }
  held_.Reset();
  return S_OK;
}

}  // namespace pel::com
