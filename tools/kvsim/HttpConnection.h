#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "Channel.h"
#include "HttpFault.h"
#include "RequestLog.h"
#include "Scenario.h"

namespace kvsim {

// Serves one accepted connection: reads and records the request, answers as the scenario's
// route says and behaves around the answer as the route's "after" says, unless the server has a
// fault put on it at the moment it answers.
class HttpConnection {
 public:
  HttpConnection(Channel& channel, const Scenario& scenario, const FaultState& fault,
                 RequestLog& log, RequestLog::Entry entry);
  void run();

 private:
  enum class Head { kComplete, kTooLarge, kClientClosed, kAbort };

  Head readHead();
  Channel::Io receive(int timeoutMs);
  void record(std::string_view bytes);
  void drainAvailable();
  std::string_view chooseResponse(Head head, After& after) const;
  bool send(std::string_view bytes);
  bool pause(int ms);
  // Sends one byte after each wait of everyMs; false when the client or the owner went.
  bool trickle(std::string_view bytes, int everyMs);
  void holdOpen();
  void finish();

  Channel& channel_;
  const Scenario& scenario_;
  const FaultState& fault_;
  RequestLog& log_;
  RequestLog::Entry entry_;
  std::string head_;
  std::size_t headEnd_ = 0;
  std::size_t recorded_ = 0;
  bool clientDone_ = false;  // the client closed its side, or reading must end
  std::string scratch_;
};

}  // namespace kvsim
