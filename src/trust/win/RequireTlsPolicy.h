#pragma once

namespace pel::win {

// The RequireTls value from the first policy place that holds it (PolicyPlaces.h): true only
// for a REG_DWORD holding 1. Any other number, another type or size, or a value that cannot be
// read counts as 0: servers of this family speak plain http, and the policy is opted into.
bool ReadRequireTlsPolicy();

}  // namespace pel::win
