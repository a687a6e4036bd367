#pragma once

#include <windows.h>
#include <oleauto.h>

#include "ports/Variant.h"

namespace pel::win {

// Between the core's Variant and COM's VARIANT. Texts go between the ANSI code page and
// BSTR; byte arrays between std::vector and a one-dimensional SAFEARRAY of VT_UI1.

// Fills a cleared VARIANT; E_OUTOFMEMORY when a text or array cannot be made.
HRESULT ToComVariant(const Variant& value, VARIANT* out);
// By-reference variants are read through; types the core does not know read as VT_EMPTY.
Variant FromComVariant(const VARIANT& value);

}  // namespace pel::win
