#pragma once

#include <objidl.h>

#include "com/ComPtr.h"

namespace pel::com {

// Where an IPersistStorage object stands with its container's storage, and the storage it
// holds: none before InitNew or Load; the container's storage in normal mode; the same, not to
// be written, between Save and SaveCompleted (no-scribble); none after HandsOffStorage until
// SaveCompleted hands one back. Each Check* answers the error for a call out of turn before
// the object does any work; the matching step then moves on.
class StorageState {
 public:
  // InitNew and Load: the first storage the object gets.
  HRESULT CheckInit(IStorage* storage) const;
  void Initialized(IStorage* storage);

  // Save: only in normal mode; a save that worked leaves the object in no-scribble mode.
  HRESULT CheckSave(IStorage* target) const;
  void Saved();

  // SaveCompleted: back to normal mode, holding `next` when given (required after hands-off).
  HRESULT Complete(IStorage* next);

  // HandsOffStorage: lets go of the storage.
  HRESULT HandsOff();

 private:
  enum class Mode { kUninitialized, kNormal, kNoScribble, kHandsOffAfterSave, kHandsOffFromNormal };

  Mode mode_ = Mode::kUninitialized;
  ComPtr<IStorage> held_;
};

}  // namespace pel::com
