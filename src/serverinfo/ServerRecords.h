#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "serverinfo/AccessEntry.h"

namespace pel {

// What the server information page tells the pane; the pane holds these values.
struct PaneServerFields {
  int32_t iBuildDate = 0;     // -1 when the page gives none: older server software
  int32_t iUdpPort = 32001;   // audio and voice connections
  int32_t iIsLimit = 0;       // 1: the audio dialogs get the user's own credentials
};

// What the control keeps from the server information page.
struct ServerInfoRecord {
  int32_t iType3Count = 0;       // grows with every read, never reset
  int32_t bVoiceSerial = 0;      // a serial port is in voice mode
  AccessWords dwProperty{};      // the user's access words
  int32_t iModuleCount = 0;      // entries placed in the module list
  int32_t iAudioDeviceType = -1; // 0 voice kit; 1, 2, 9 audio devices; -1 unknown
};

// What the control keeps from the module information page and the module set-up.
struct ModuleRecord {
  int32_t iPtzFuncOptFlag = 0;
  std::array<int32_t, 6> bPtzInstalled{};  // camera n+1 has PTZ
  uint32_t dwPtzInstFlag = 0;
  uint32_t dwViewRights = 0;
  uint32_t dwRelayRights = 0;
  uint32_t dwPtzRights = 0;
  uint32_t dwAudioRights = 0;
  int32_t iNumCam = 0;
  int32_t iNumDo = 0;
  int32_t iVideoFormat = 0;      // non-zero: 576-line format
  int32_t iViewableCams = 0;
  std::string strServerTag;
};

}  // namespace pel
