#pragma once

namespace pel {

// How the last read of a server page ended. The control goes on after a failure either way;
// the outcome is kept for those who diagnose a server (pelprobe).
enum class PageReadOutcome {
  kNotRead,        // no read was made: none yet, or the site lock held the request back
  kRead,           // the page arrived with a success status
  kRequestFailed,  // the request failed: "GetAspWp (%s) read failed." was shown
  kStatusFailed,   // the status check refused the status and showed its message
};

}  // namespace pel
