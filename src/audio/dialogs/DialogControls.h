#pragma once

#include <cstdint>
#include <string>

#include "res/DialogIds.h"

namespace pel::dlg {

// Control IDs shared by the Audio Connection and Voice Connection templates.
constexpr int kIdOk = 1;            // EXIT
constexpr int kIdPortCheck = IDC_PORT_CHECK;
constexpr int kIdMicSlider = IDC_MIC_SLIDER;
constexpr int kIdSpeakerSlider = IDC_SPK_SLIDER;
constexpr int kIdStatus = IDC_STATUS;
constexpr int kIdPort = IDC_PORT;

// Status texts.
constexpr const char* kStatusConnecting = "Connecting....";
constexpr const char* kStatusConnected = "Connected";
constexpr const char* kStatusDisconnecting = "Disconnecting....";
constexpr const char* kStatusDisconnected = "Disconnected";

// Ports the user may type into either dialog.
constexpr int32_t kLowestPort = 10000;
constexpr int32_t kHighestPort = 65535;
inline bool IsDialogPort(int32_t port) { return port >= kLowestPort && port <= kHighestPort; }

// The number in the digits-only port edit; 0 (never a valid port) when the text is empty, is
// not all digits or does not fit.
int32_t ReadPortText(const std::string& text);

}  // namespace pel::dlg
