#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "serverinfo/PageReadOutcome.h"

namespace pel::probe {

// What `pelprobe audio` is asked to do.
struct AudioProbeOptions {
  std::string address;            // the server's dotted IPv4 address
  int32_t httpPort = 80;          // for the server information page
  std::string user;               // for the page; the login's user when given
  std::string password;
  bool userGiven = false;         // without --user the login is "root" with an empty password
  bool passwordGiven = false;
  int32_t module = 0;             // server identifier (iSvrID)
  int mode = 0;                   // codec mode; 0: the server page's iAudioDeviceType
  int32_t audioPort = 0;          // 0: the server page's iUdpPort
  int32_t camera = 1;             // 1..6
  int32_t seconds = 5;            // how long to send after the login
  bool secondsGiven = false;      // with --in and no --seconds: until the file is sent
  int32_t toneHz = 1000;
  std::string inPath;             // raw audio in the mode's input format instead of the tone
  std::string outPath;            // where the played audio goes
  bool playback = true;           // the UDP receive mode: the server's audio comes back
};

// What happened.
struct AudioProbeReport {
  PageReadOutcome page = PageReadOutcome::kNotRead;  // the server page, when it was needed
  bool connected = false;     // a Connect was made (the result below is meaningful)
  int result = 0;             // the audio result code of the Connect press
  int mode = 0;
  int32_t audioPort = 0;
  std::vector<std::string> messages;  // message boxes, in order
  uint64_t sent = 0;          // datagrams of captured audio sent
  uint64_t played = 0;        // received packets decoded and played
  bool fileFailed = false;    // --in could not be read to its end, or --out not written
};

// Reads the server page when the mode or the port is not given, then runs the Audio
// Connection dialog's Connect with console wave devices, lets the audio flow, and runs its
// Disconnect. False (with `error`) when a file cannot be opened.
bool RunAudioProbe(const AudioProbeOptions& options, AudioProbeReport& report,
                   std::string& error);

}  // namespace pel::probe
