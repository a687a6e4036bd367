#pragma once

#include <optional>

#include "trust/AllowedSites.h"

namespace pel::win {

// The AllowedSites value from the first of HKLM\Software\Policies\Pelioran,
// HKCU\Software\Policies\Pelioran and HKLM\Software\Pelioran that holds it; nothing when none
// does. REG_MULTI_SZ is read entry by entry, REG_SZ and REG_EXPAND_SZ as one text split at
// ";". A value of another type, longer than the setting's limit, or that cannot be read counts
// as there and empty: it allows less, never more.
std::optional<AllowedSites> ReadAllowedSitesPolicy();

}  // namespace pel::win
