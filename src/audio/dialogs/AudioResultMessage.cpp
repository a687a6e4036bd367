#include "audio/dialogs/AudioResultMessage.h"

#include "audio/AudioResult.h"
#include "res/StringTable.h"

namespace pel {

int AudioResultStringId(int result) {
  switch (result) {
    case AUDIO_TIMEOUT:
    case AUDIO_NETWORK_ERROR: return IDS_AUDIO_NETWORK_PROBLEM;
    case AUDIO_DENIED: return IDS_AUDIO_CONNECTION_DENIED;
    case AUDIO_BAD_PARAMETER: return IDS_AUDIO_BAD_PARAMETER;
    case AUDIO_NOT_CONNECTED: return IDS_AUDIO_NOT_CONNECTED;
    case AUDIO_ALREADY_CONNECTED: return IDS_AUDIO_ALREADY_CONNECTED;
    case AUDIO_OPEN_FAILED: return IDS_AUDIO_ENCODER_CREATE_FAILED;
    case AUDIO_ALREADY_OPEN: return IDS_AUDIO_ENCODER_EXISTS;
    case AUDIO_NO_DEVICE: return IDS_AUDIO_NO_DEVICES;
    case AUDIO_NOT_OPEN: return IDS_AUDIO_NO_ENCODER;
    default: return IDS_AUDIO_UNDEFINED_ERROR;
  }
}

}  // namespace pel
