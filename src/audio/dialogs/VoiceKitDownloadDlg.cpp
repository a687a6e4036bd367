#include "audio/dialogs/VoiceKitDownloadDlg.h"

#include "res/StringTable.h"

// The build names the host (PEL_VOICE_KIT_HOST, a CMake cache variable).
#ifndef PEL_VOICE_KIT_HOST
#define PEL_VOICE_KIT_HOST "example.com"
#endif

namespace pel {

namespace {
constexpr const char* kDownloadPath = "/app_link/download/KvVocCtl.exe";
constexpr const char* kUrlHandler = "rundll32.exe url.dll,FileProtocolHandler ";
}  // namespace

std::string CVoiceKitDownloadDlg::DownloadUrl() {
  return std::string("http://") + PEL_VOICE_KIT_HOST + kDownloadPath;
}

std::string CVoiceKitDownloadDlg::CommandLine(const std::string& url) { return kUrlHandler + url; }

bool CVoiceKitDownloadDlg::OnCommand(int id) {
  if (id == kIdDownload) OnDownload();
  return id == kIdOk;
}

void CVoiceKitDownloadDlg::OnDownload() {
  if (!processes_.StartProcess(CommandLine(DownloadUrl()))) {
    messages_.ShowMessage(LoadResString(IDS_CREATEPROCESS_FAILED));
  }
}

}  // namespace pel
