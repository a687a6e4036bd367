// pelprobe relay: the module's relay outputs as the Relay Output Control dialog shows them
// after the control's start (the control's own page reads give iNumDo and dwRelayRights), and
// with --set one output switched exactly as a click on its box would.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "pelprobe/Commands.h"
#include "pelprobe/JsonWriter.h"
#include "pelprobe/ServerOptions.h"
#include "pelprobe/ServerProbe.h"
#include "pelprobe/ServerReport.h"
#include "pelprobe/Utf8.h"
#include "relay/RelayBoxes.h"
#include "relay/RelayOutputDlg.h"

namespace pel::probe {

namespace {

const char* const kUsage =
    "usage: pelprobe relay --addr A [--port N] [--user U] [--password P] [--proxy HOST[:PORT]]\n"
    "                      --module N [--set K on|off] [--json]\n"
    "  (and --page-url URL or --no-browser, as for pelprobe server)\n"
    "Reads module N's relay state page as the Relay Output Control dialog does and shows the\n"
    "six outputs; --set switches output K (1..6) on or off with the relay request, as a click on\n"
    "its box would (nothing is sent when it already is so).\n"
    "Exit status: 0 done, 1 usage error or an output that cannot be clicked, 2 a request failed,\n"
    "3 a status failure.\n";

struct SetRequest {
  int output = 0;  // 1..6
  bool on = false;
};

struct RelayRun {
  RelayBoxes boxes;
  std::vector<std::string> requests;
  std::vector<std::string> messages;
  uint32_t dwDoData = 0;
  std::string note;  // why --set sent nothing
  int status = kExitOk;
};

int OutcomeStatus(RelayOutcome outcome) {
  switch (outcome) {
    case RelayOutcome::kRequestFailed:
    case RelayOutcome::kRefused: return kExitRequestFailed;
    case RelayOutcome::kStatusFailed: return kExitStatusFailed;
    case RelayOutcome::kNoModule: return kExitUsage;
    default: return kExitOk;
  }
}

// Takes "--set K on|off" out of `args`; false with `error` for a malformed one.
bool TakeSet(std::vector<std::string>& args, std::optional<SetRequest>& set, std::string& error) {
  std::vector<std::string> rest;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] != "--set") {
      rest.push_back(args[i]);
      continue;
    }
    int64_t output = 0;
    if (set || i + 2 >= args.size() || !ParseDecimal(args[i + 1], 1, 6, output) ||
        (args[i + 2] != "on" && args[i + 2] != "off")) {
      error = set ? "option --set given twice" : "option --set needs an output 1..6 and on or off";
      return false;
    }
    set = SetRequest{static_cast<int>(output), args[i + 2] == "on"};
    i += 2;
  }
  args = rest;
  return true;
}

// The dialog on the control's settings, then the click asked for; its requests and messages
// go after those of the start.
void RunDialog(const CPelioranCtrl& ctrl, const std::optional<SetRequest>& set, RelayRun& run) {
  MessageSink messages;
  CRelayOutputDlg dialog(messages);
  const ControlProperties& p = ctrl.Properties();
  RelayDialogSettings s;
  s.serverAddress = p.strIpAddr;
  s.serverPort = p.iHttpPort;
  s.tlsHost = ServerTlsHost(p);
  s.proxyAddress = p.strIpAddrProxy;
  s.proxyPort = p.iHttpPortProxy;
  s.moduleNumber = p.iSvrID;
  s.userId = p.strUserID;
  s.password = p.strUserPWD;
  s.outputCount = ctrl.iNumDo();
  s.rightsMask = ctrl.Module().dwRelayRights;
  dialog.SetSettings(s);

  dialog.OnInitDialog(run.boxes);
  run.requests.push_back(RelayStatePath(s.moduleNumber));
  run.status = OutcomeStatus(dialog.readOutcome());
  if (set && run.status == kExitOk) {
    const int box = set->output - 1;
    if (run.boxes.check(box) == (set->on ? 1 : 0)) {
      run.note = "output " + std::to_string(set->output) + " is already " + (set->on ? "on" : "off");
    } else if (!run.boxes.Click(box)) {
      run.note = "output " + std::to_string(set->output) + " is " +
                 (run.boxes.visible(box) ? "disabled" : "hidden") + ": a click on it does nothing";
      run.status = kExitUsage;
    } else {
      dialog.OnCommand(CRelayOutputDlg::kFirstBoxId + box);
      run.requests.push_back(RelayRequestPath(s.moduleNumber, dialog.dwDoData()));
      run.status = OutcomeStatus(dialog.sendOutcome());
    }
  }
  run.dwDoData = dialog.dwDoData();
  run.messages.insert(run.messages.end(), messages.texts().begin(), messages.texts().end());
}

std::string JsonReport(const RelayRun& run) {
  std::string out;
  JsonWriter json(out);
  json.BeginObject();
  json.Key("dwDoData").Unsigned(run.dwDoData);
  json.Key("names").BeginArray(true);
  for (int n = 0; n < kRelayOutputs; ++n) json.String(run.boxes.text(n));
  json.EndArray().Key("checks").BeginArray(true);
  for (int n = 0; n < kRelayOutputs; ++n) json.Int(run.boxes.check(n));
  json.EndArray().Key("hidden").BeginArray(true);
  for (int n = 0; n < kRelayOutputs; ++n) json.Bool(!run.boxes.visible(n));
  json.EndArray().Key("disabled").BeginArray(true);
  for (int n = 0; n < kRelayOutputs; ++n) json.Bool(!run.boxes.enabled(n));
  json.EndArray().Key("requests").BeginArray();
  for (const std::string& path : run.requests) json.String(path);
  json.EndArray().Key("messages").BeginArray();
  for (const std::string& text : run.messages) json.String(text);
  json.EndArray().EndObject();
  return out + "\n";
}

std::string TextReport(const RelayRun& run) {
  char line[64];
  std::string out;
  for (int n = 0; n < kRelayOutputs; ++n) {
    std::snprintf(line, sizeof line, "output %d  %-3s", n + 1, run.boxes.check(n) ? "on" : "off");
    out += line;
    out += "  \"" + Printable(run.boxes.text(n)) + "\"";
    if (!run.boxes.visible(n)) out += "  hidden";
    if (!run.boxes.enabled(n)) out += "  disabled";
    out += "\n";
  }
  std::snprintf(line, sizeof line, "dwDoData 0x%02X\n", static_cast<unsigned>(run.dwDoData));
  out += line;
  out += "requests:\n";
  for (const std::string& path : run.requests) out += "  " + Printable(path) + "\n";
  out += "messages:\n";
  for (const std::string& text : run.messages) out += "  " + Printable(text) + "\n";
  if (!run.note.empty()) out += run.note + "\n";
  return out;
}

void Print(std::FILE* stream, const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fflush(stream);
}

}  // namespace

int RelayCommand(const std::vector<std::string>& args) {
  std::vector<std::string> rest = args;
  std::optional<SetRequest> set;
  std::string error;
  ServerCommandOptions options;
  if (!TakeSet(rest, set, error)) {
    Print(stderr, "pelprobe relay: " + error + "\n" + kUsage);
    return kExitUsage;
  }
  switch (ParseServerOptions(rest, options, error)) {
    case OptionParser::Result::kHelp: Print(stdout, kUsage); return kExitOk;
    case OptionParser::Result::kError:
      Print(stderr, "pelprobe relay: " + error + "\n" + kUsage);
      return kExitUsage;
    case OptionParser::Result::kOk: break;
  }
  if (!options.probe.module) {
    Print(stderr, std::string("pelprobe relay: option --module is required\n") + kUsage);
    return kExitUsage;
  }

  ServerProbe probe(options.probe);
  if (!probe.Run()) {
    Print(stderr, "pelprobe relay: " + probe.error() + "\n");
    return kExitUsage;
  }
  RelayRun run;
  for (const PageRead& read : probe.reads()) run.requests.push_back(read.path);
  run.messages = probe.messages();
  if (probe.FirstFailure() != nullptr) {
    // Without the module's pages the dialog's boxes stay locked.
    for (int n = 0; n < kRelayOutputs; ++n) run.boxes.EnableBox(n, false);
    run.status = ServerExitStatus(probe);
  } else {
    RunDialog(probe.ctrl(), set, run);
  }
  Print(stdout, options.json ? JsonReport(run) : TextReport(run));
  if (!run.note.empty() && run.status == kExitUsage) Print(stderr, "pelprobe relay: " + run.note + "\n");
  return run.status;
}

}  // namespace pel::probe
