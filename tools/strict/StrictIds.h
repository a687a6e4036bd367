#pragma once

#include <windows.h>

namespace strict {

// The outside components' class IDs (the ones the control creates).
extern const CLSID kClsidViewer;
extern const CLSID kClsidPanel;
extern const CLSID kClsidVoice;

// This family's own outgoing dispinterfaces, one per component.
extern const IID kDiidViewerEvents;
extern const IID kDiidPanelEvents;
extern const IID kDiidVoiceEvents;

}  // namespace strict
