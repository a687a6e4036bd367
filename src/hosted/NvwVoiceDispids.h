#pragma once

#include <cstdint>

namespace pel::voice_dispid {

// DISPIDs of the hosted voice component {BA04A117-26C3-4C87-A3BA-F3D7A1D8C4FE}.
constexpr int32_t kServerAddress = 1;    // ServerAddress, text (put)
constexpr int32_t kServerPort = 2;       // ServerPort, 32-bit (put)
constexpr int32_t kUserName = 3;         // UserName, text (put)
constexpr int32_t kUserPassword = 4;     // UserPassword, text (put)
constexpr int32_t kMicLevelMax = 9;      // MicLevelMax, 32-bit (get)
constexpr int32_t kSpeakerLevelMax = 10; // SpeakerLevelMax, 32-bit (get)
constexpr int32_t kMicLevel = 11;        // MicLevel, 32-bit (get and put)
constexpr int32_t kSpeakerLevel = 12;    // SpeakerLevel, 32-bit (get and put)
constexpr int32_t kDialogInit = 13;      // bDialogInit, boolean (put)
constexpr int32_t kConnect = 16;         // Connect(), no arguments
constexpr int32_t kDisconnect = 17;      // Disconnect(), no arguments

// Events the component fires: 1 the connection status (code, detail, a third long); 2 and 3
// carry six longs each and are accepted and ignored.
constexpr int32_t kEventStatus = 1;
constexpr int32_t kEventTwo = 2;
constexpr int32_t kEventThree = 3;

}  // namespace pel::voice_dispid
