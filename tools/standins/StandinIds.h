#pragma once

#include <windows.h>

#include "hosted/win/ComponentIds.h"

namespace pel::standin {

// The outside components' own class IDs, under which the stand-ins register:
// the ones the control creates.
inline const CLSID& kClsidViewer = win::kClsidSimpleViewer;
inline const CLSID& kClsidUart = win::kClsidSfiUart;
inline const CLSID& kClsidVoice = win::kClsidNvwVoice;

// The stand-ins' outgoing dispinterfaces (their own; a container finds them through
// IProvideClassInfo2).
extern const IID kDiidViewerEvents;
extern const IID kDiidUartEvents;
extern const IID kDiidVoiceEvents;

}  // namespace pel::standin
