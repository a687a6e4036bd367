#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "control/PelioranCtrl.h"
#include "pelprobe/CallRecord.h"
#include "pelprobe/ConsolePorts.h"

namespace pel::probe {

// What `pelprobe server` was asked: the properties a page would set, and how the control is
// hosted.
struct ServerProbeOptions {
  std::string strIpAddr;
  int32_t iHttpPort = 80;
  std::string strUserID;
  std::string strUserPWD;
  std::string strIpAddrProxy;
  int32_t iHttpPortProxy = 8080;
  std::optional<int32_t> module;  // picked in the module list after the start
  bool browser = true;            // hosted by a web browser showing pageUrl
  std::string pageUrl;
};

// One page read of the control and how it ended.
struct PageRead {
  std::string path;
  PageReadOutcome outcome = PageReadOutcome::kNotRead;
};

// Runs the control's start sequence headless against a server, with recording viewer and
// panel components, a headless pane, a message sink and (unless told otherwise) a hosting
// browser; then, when asked, picks a module in the module list as a user would.
class ServerProbe {
 public:
  explicit ServerProbe(ServerProbeOptions options);
  ServerProbe(const ServerProbe&) = delete;
  ServerProbe& operator=(const ServerProbe&) = delete;

  // False when the start failed or the module asked for is not listed (error() says
  // which), true otherwise, whether the pages could be read or not.
  bool Run();

  const ServerProbeOptions& options() const { return options_; }
  const CPelioranCtrl& ctrl() const { return ctrl_; }
  // Null when the start did not make a pane.
  CPelioranOperPane* pane() const { return children_.pane(); }
  const HeadlessPaneView& paneView() const { return children_.paneView(); }
  const std::vector<ComponentCall>& calls() const { return calls_; }
  const std::vector<std::string>& messages() const { return messages_.texts(); }
  const HeadlessWindow& window() const { return window_; }
  const std::vector<PageRead>& reads() const { return reads_; }
  const std::string& error() const { return error_; }

  // The first page read that failed, or null when every page was read.
  const PageRead* FirstFailure() const;

 private:
  void NoteModuleRead();

  ServerProbeOptions options_;
  std::vector<ComponentCall> calls_;
  RecordingComponent viewer_;
  RecordingComponent panel_;
  MessageSink messages_;
  HeadlessWindow window_;
  NoBrowserProxy proxySetting_;
  std::unique_ptr<PageBrowser> browser_;
  CPelioranCtrl ctrl_;
  ProbeChildren children_;
  std::vector<PageRead> reads_;
  std::string error_;
};

}  // namespace pel::probe
