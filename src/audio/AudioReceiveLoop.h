#pragma once

#include <atomic>

#include "audio/AudioPacketJoiner.h"
#include "audio/AudioPlayer.h"
#include "audio/AudioUdpSocket.h"
#include "audio/AutoResetEvent.h"

namespace pel {

// The receive thread of a connection with playback: takes the server's records one by one
// (5-second waits), joins them into Jes packets and plays each, while `running` stays set or
// until the server acknowledges a logout. On the way out it plays what was joined and then
// signals `stopped`; after that it touches none of its arguments.
void RunAudioReceiveLoop(AudioUdpSocket& socket, AudioPacketJoiner& joiner, AudioPlayer& player,
                         std::atomic<bool>& running, AutoResetEvent& stopped);

}  // namespace pel
