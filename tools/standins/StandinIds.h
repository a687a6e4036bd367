#pragma once

#include <windows.h>

namespace pel::standin {

// The outside components' own class IDs, under which the stand-ins register.
extern const CLSID kClsidViewer;  // video viewer {775D096D-0F0F-45FA-8EE1-4C1FD194910B}
extern const CLSID kClsidUart;    // serial/PTZ panel {DBFD22D6-5229-407D-A407-E15D7FF35253}
extern const CLSID kClsidVoice;   // voice component {BA04A117-26C3-4C87-A3BA-F3D7A1D8C4FE}

// The stand-ins' outgoing dispinterfaces (their own; a container finds them through
// IProvideClassInfo2).
extern const IID kDiidViewerEvents;
extern const IID kDiidUartEvents;
extern const IID kDiidVoiceEvents;

}  // namespace pel::standin
