#pragma once

#include <cstdint>
#include <string>

#include "ports/ProcessStarter.h"
#include "ports/UserMessages.h"
#include "res/DialogIds.h"

namespace pel {

// The modal Download dialog, shown when the voice component cannot be created:
// "Download Voice kit" opens the voice kit's download address in the system's URL handler.
class CVoiceKitDownloadDlg {
 public:
  static constexpr int kTemplateId = IDD_VOICEKIT_DOWNLOAD;
  static constexpr int kIdDownload = IDC_DOWNLOAD_VOICEKIT;
  static constexpr int kIdOk = 1;

  // `value` is what the pane passes (30); it is kept and not used.
  CVoiceKitDownloadDlg(IUserMessages& messages, IProcessStarter& processes, int32_t value)
      : messages_(messages), processes_(processes), value_(value) {}

  // A command from control `id`; true when it ends the dialog (OK).
  bool OnCommand(int id);
  // Starts the URL handler on the download address; "CreateProcess failed." when it cannot
  // be started. The dialog stays open either way.
  void OnDownload();

  int32_t value() const { return value_; }

  // The voice kit's download address, on the host the build names.
  static std::string DownloadUrl();
  // The command line that opens `url` in the system's URL handler.
  static std::string CommandLine(const std::string& url);

 private:
  IUserMessages& messages_;
  IProcessStarter& processes_;
  int32_t value_;
};

}  // namespace pel
