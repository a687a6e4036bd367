#pragma once

#include <windows.h>

namespace pel::win {

// The class IDs of the outside components the control hosts.
extern const CLSID kClsidSimpleViewer;  // video viewer
extern const CLSID kClsidSfiUart;       // serial/PTZ panel
extern const CLSID kClsidNvwVoice;      // voice component

}  // namespace pel::win
