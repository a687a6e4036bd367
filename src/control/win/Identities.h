#pragma once

#include <windows.h>

// The type library's identities (LIBID_PELIORANLib, DIID__DPelioran, DIID__DPelioranEvents,
// CLSID_Pelioran) come from the header that widl makes out of Pelioran.idl.
#include "Pelioran_h.h"

namespace pel::win {

// The property page class CPelioranPropPage.
extern const CLSID kClsidPelioranPropPage;

// Recompose on resize, cannot link inside, inside-out, activate when visible, set client site
// first.
constexpr DWORD kControlMiscStatus = 0x00020191;

constexpr WORD kTypeLibMajor = 1;
constexpr WORD kTypeLibMinor = 0;

}  // namespace pel::win
