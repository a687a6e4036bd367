#pragma once

#include <cstdint>

namespace pel {

// IObjectSafety as the control answers it. Results are HRESULT values.
namespace object_safety {

constexpr uint32_t kSafeForUntrustedCaller = 0x1;  // INTERFACESAFE_FOR_UNTRUSTED_CALLER
constexpr uint32_t kSafeForUntrustedData = 0x2;    // INTERFACESAFE_FOR_UNTRUSTED_DATA
constexpr uint32_t kOptions = kSafeForUntrustedCaller | kSafeForUntrustedData;

constexpr int32_t kSOk = 0;
constexpr int32_t kENoInterface = static_cast<int32_t>(0x80004002u);
constexpr int32_t kEFail = static_cast<int32_t>(0x80004005u);

// Writes supported = enabled = 3 in every case; the result says whether the control has the
// interface asked about.
int32_t GetInterfaceSafetyOptions(bool hasInterface, uint32_t* supported, uint32_t* enabled);

// Accepts only options the control supports, and only when every option in `mask` is also
// asked to be enabled.
int32_t SetInterfaceSafetyOptions(bool hasInterface, uint32_t mask, uint32_t enabled);

}  // namespace object_safety

}  // namespace pel
