#include "pelprobe/AudioReport.h"

#include "audio/AudioResult.h"
#include "audio/dialogs/AudioResultMessage.h"
#include "audio/dialogs/DialogControls.h"
#include "pelprobe/JsonWriter.h"
#include "res/StringTable.h"

namespace pel::probe {

namespace {

const char* PageText(PageReadOutcome page) {
  switch (page) {
    case PageReadOutcome::kNotRead: return "not needed";
    case PageReadOutcome::kRead: return "read";
    case PageReadOutcome::kRequestFailed: return "request failed";
    case PageReadOutcome::kStatusFailed: return "status failed";
  }
  return "";
}

}  // namespace

std::string AudioResultText(const AudioProbeReport& report) {
  if (!report.connected) return "";
  if (report.result == AUDIO_OK) return dlg::kStatusConnected;
  return LoadResString(AudioResultStringId(report.result));
}

std::string AudioReportJson(const AudioProbeReport& report, uint64_t dropped) {
  std::string out;
  JsonWriter json(out);
  json.BeginObject();
  json.Key("serverPage").String(PageText(report.page));
  json.Key("mode").Int(report.mode);
  json.Key("audioPort").Int(report.audioPort);
  json.Key("result");
  if (report.connected) {
    json.Int(report.result);
  } else {
    json.Null();
  }
  json.Key("message").String(AudioResultText(report));
  json.Key("messages").BeginArray();
  for (const std::string& text : report.messages) json.String(text);
  json.EndArray();
  json.Key("sent").Unsigned(report.sent);
  json.Key("received").Unsigned(report.played + dropped);
  json.Key("dropped").Unsigned(dropped);
  json.EndObject();
  return out;
}

std::string AudioReportText(const AudioProbeReport& report, uint64_t dropped) {
  std::string out;
  out += "server page: " + std::string(PageText(report.page)) + "\n";
  for (const std::string& text : report.messages) out += "message: " + text + "\n";
  if (!report.connected) return out;
  out += "mode: " + std::to_string(report.mode) + ", audio port " +
         std::to_string(report.audioPort) + "\n";
  out += "result: " + std::to_string(report.result) + " (" + AudioResultText(report) + ")\n";
  out += "sent: " + std::to_string(report.sent) + " packets\n";
  out += "received: " + std::to_string(report.played + dropped) + " packets, " +
         std::to_string(dropped) + " dropped\n";
  return out;
}

}  // namespace pel::probe
