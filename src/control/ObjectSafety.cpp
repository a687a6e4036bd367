#include "control/ObjectSafety.h"

namespace pel::object_safety {

int32_t GetInterfaceSafetyOptions(bool hasInterface, uint32_t* supported, uint32_t* enabled) {
  if (supported != nullptr) *supported = kOptions;
  if (enabled != nullptr) *enabled = kOptions;
  return hasInterface ? kSOk : kENoInterface;
}

int32_t SetInterfaceSafetyOptions(bool hasInterface, uint32_t mask, uint32_t enabled) {
  if (!hasInterface) return kENoInterface;
  if ((mask & ~kOptions) != 0) return kEFail;
  return (mask & enabled & kOptions) == mask ? kSOk : kEFail;
}

}  // namespace pel::object_safety
