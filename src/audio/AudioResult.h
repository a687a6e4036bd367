#pragma once

namespace pel {

// Results of the audio connection's operations. 1 is success; 0 means the server answered
// the login with something other than a login reply. The Audio Connection dialog turns them
// into messages.
constexpr int AUDIO_OK = 1;
constexpr int AUDIO_UNEXPECTED_REPLY = 0;
constexpr int AUDIO_NOT_OPEN = -1;  // recorder not open, or its buffers not ready
constexpr int AUDIO_PLAYER_NOT_OPEN = -2;
constexpr int AUDIO_NO_DEVICE = -3;     // no wave device
constexpr int AUDIO_ALREADY_OPEN = -4;  // recorder or player already open
constexpr int AUDIO_OPEN_FAILED = -5;   // the recorder cannot be opened
constexpr int AUDIO_PLAYER_OPEN_FAILED = -6;
constexpr int AUDIO_DECODE_FAILED = -9;  // a received block produced no samples
constexpr int AUDIO_ALREADY_CONNECTED = -10;
constexpr int AUDIO_NOT_CONNECTED = -11;
constexpr int AUDIO_BAD_PARAMETER = -12;  // address, identifiers, user, password or port
constexpr int AUDIO_DENIED = -13;         // the server refused the login
constexpr int AUDIO_NETWORK_ERROR = -14;  // socket creation or receive error
constexpr int AUDIO_TIMEOUT = -15;        // no answer within the time-out
constexpr int AUDIO_NO_MEMORY = -16;      // codec or buffer allocation (Open reports -5)
constexpr int AUDIO_BAD_MODE = -17;       // codec mode not 1, 2 or 9 (Open reports -5)

}  // namespace pel
