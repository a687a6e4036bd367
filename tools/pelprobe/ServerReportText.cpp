#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

#include "pelprobe/Commands.h"
#include "pelprobe/ServerReport.h"
#include "pelprobe/Utf8.h"

namespace pel::probe {

namespace {

std::string Quoted(const std::string& text) { return "\"" + Printable(text) + "\""; }

std::string Hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
  return text;
}

std::string Num(int64_t value) { return std::to_string(value); }

std::string VariantText(const Variant& v) {
  if (v.IsInteger()) return Num(v.i);
  switch (v.vt) {
    case kVtBool: return v.b ? "TRUE" : "FALSE";
    case kVtR8: {
      char text[32];
      std::snprintf(text, sizeof text, "%g", v.d);
      return text;
    }
    case kVtBstr: return Quoted(v.text);
    case kVtByteArray: return "<" + Num(static_cast<int64_t>(v.bytes.size())) + " bytes>";
    default: return "(empty)";
  }
}

std::string CallText(const ComponentCall& call) {
  char head[48];
  const char* kind = call.kind == CallKind::kPut ? "put" : call.kind == CallKind::kGet ? "get" : "call";
  std::snprintf(head, sizeof head, "%-6s %-4s %4d ", call.component.c_str(), kind,
                static_cast<int>(call.dispid));
  if (call.kind == CallKind::kPut) return head + call.name + " = " + VariantText(call.value);
  if (call.kind == CallKind::kGet) return head + call.name + " -> " + VariantText(call.value);
  std::string text = head + call.name + "(";
  for (size_t i = 0; i < call.args.size(); ++i) text += (i ? ", " : "") + VariantText(call.args[i]);
  text += ")";
  if (!call.value.IsEmpty()) text += " -> " + VariantText(call.value);
  return text;
}

const char* OutcomeText(PageReadOutcome outcome) {
  switch (outcome) {
    case PageReadOutcome::kRead: return "read";
    case PageReadOutcome::kRequestFailed: return "request failed";
    case PageReadOutcome::kStatusFailed: return "refused by its status";
    default: return "not read";
  }
}

void AddList(std::string& out, const char* title, const CSkinComboBox& list) {
  out += std::string("\n") + title + " (" + Num(list.count()) +
         " entries; item data, text; * selected)\n";
  for (int i = 0; i < list.count(); ++i) {
    char data[16];
    std::snprintf(data, sizeof data, "%4d  ", static_cast<int>(list.GetItemData(i)));
    out += std::string(i == list.GetCurSel() ? "  * " : "    ") + data + Quoted(list.GetText(i)) + "\n";
  }
}

void AddHosting(std::string& out, const ServerProbe& probe) {
  const ServerProbeOptions& o = probe.options();
  out += "pelprobe server: the control's start against " + Quoted(o.strIpAddr) + " port " +
         Num(o.iHttpPort) + "\n";
  out += o.browser ? "  hosted by a web browser showing " + Quoted(o.pageUrl) + "\n"
                   : "  not hosted by a web browser: the addresses are used unchanged\n";
}

void AddAddresses(std::string& out, const ControlProperties& p) {
  out += "\nAddresses after the start\n";
  out += "  strIpAddr       " + Quoted(p.strIpAddr) + "\n";
  out += "  iHttpPort       " + Num(p.iHttpPort) + "\n";
  out += "  strUserID       " + Quoted(p.strUserID) + "\n";
  out += "  strUserPWD      " + Quoted(p.strUserPWD) + "\n";
  out += "  strIpAddrProxy  " + Quoted(p.strIpAddrProxy) + (p.strIpAddrProxy.empty() ? " (no proxy)" : "") + "\n";
  out += "  iHttpPortProxy  " + Num(p.iHttpPortProxy) + "\n";
}

void AddServer(std::string& out, const CPelioranCtrl& ctrl, const PaneServerFields& f) {
  out += "\nServer page\n";
  out += "  iBuildDate " + Num(f.iBuildDate) + "   iUdpPort " + Num(f.iUdpPort) + "   iIsLimit " +
         Num(f.iIsLimit) + "\n  dwProperty";
  for (const uint32_t word : ctrl.dwProperty()) out += " " + Hex(word);
  out += "\n  iAudioDeviceType " + Num(ctrl.iAudioDeviceType()) + "   iModuleCount " +
         Num(ctrl.iModuleCount()) + "   iType3Count " + Num(ctrl.iType3Count()) +
         "   bVoiceSerial " + Num(ctrl.bVoiceSerial()) + "\n";
}

void AddModule(std::string& out, const CPelioranCtrl& ctrl) {
  const ModuleRecord& m = ctrl.Module();
  const ControlProperties& p = ctrl.Properties();
  out += "\nModule set-up\n";
  out += "  iSvrID " + Num(p.iSvrID) + "   iNumCam " + Num(m.iNumCam) + "   iVideoFormat " +
         Num(m.iVideoFormat) + "   iNumDo " + Num(m.iNumDo) + "\n";
  out += "  dwViewRights " + Hex(m.dwViewRights) + "   dwPtzRights " + Hex(m.dwPtzRights) +
         "   dwRelayRights " + Hex(m.dwRelayRights) + "   dwAudioRights " + Hex(m.dwAudioRights) + "\n";
  out += "  dwPtzInstFlag " + Hex(m.dwPtzInstFlag) + "   iPtzFuncOptFlag " + Num(m.iPtzFuncOptFlag) +
         "   bPtzInstalled";
  for (const int32_t installed : m.bPtzInstalled) out += " " + Num(installed);
  out += "\n  iSelCam " + Num(ctrl.iSelCam()) + "   iCamsOn " + Num(ctrl.iCamsOn()) +
         "   iViewableCams " + Num(m.iViewableCams) + "   iOperPaneCtls " +
         Hex(static_cast<uint32_t>(p.iOperPaneCtls)) + "\n";
  out += "  strServerTag " + Quoted(m.strServerTag) + "\n";
}

// The pane's mode, its latched buttons, and the controls it shows where it put them.
void AddPane(std::string& out, CPelioranOperPane& pane, const HeadlessPaneView& view,
             const HeadlessWindow& window) {
  static const char* const kModes[] = {"none yet", "camera", "PTZ"};
  const int mode = pane.mode();
  out += "\nPane\n  mode " + Num(mode) + " (" + (mode >= 0 && mode <= 2 ? kModes[mode] : "?") + ")";
  out += "; latched:";
  for (int i = 0; i < kPaneButtonCount; ++i) {
    if (pane.Button(i).IsLatched()) out += " " + HeadlessPaneView::ControlName(i);
  }
  out += "\n  shown, top to bottom (x, y, width x height):\n";
  std::vector<std::pair<HeadlessPaneView::Control, int>> shown;
  for (int c = 0; c < kPaneControlCount; ++c) {
    const auto control = view.control(c);
    if (control && control->shown && control->width > 0) shown.emplace_back(*control, c);
  }
  std::sort(shown.begin(), shown.end(), [](const auto& a, const auto& b) {
    return a.first.y != b.first.y ? a.first.y < b.first.y : a.first.x < b.first.x;
  });
  for (const auto& [control, c] : shown) {
    char line[96];
    std::snprintf(line, sizeof line, "    %-24s %4d, %4d  %4d x %d\n",
                  HeadlessPaneView::ControlName(c).c_str(), control.x, control.y, control.width,
                  control.height);
    out += line;
  }
  if (window.viewer()) {
    const HeadlessWindow::Placement& v = *window.viewer();
    out += "  viewer window at (" + Num(v.x) + ", " + Num(v.y) + "), " + Num(v.width) + " x " +
           Num(v.height) + " in the control\n";
  }
}

void AddResult(std::string& out, const ServerProbe& probe) {
  const PageRead* failure = probe.FirstFailure();
  const int status = ServerExitStatus(probe);
  out += "\nResult: ";
  if (failure == nullptr) {
    out += "every page was read";
  } else if (failure->outcome == PageReadOutcome::kStatusFailed) {
    out += "the server answered " + failure->path + " with a status that is no success";
  } else {
    out += "the request for " + failure->path + " failed";
  }
  out += " (exit status " + Num(status) + ")\n";
  const ServerProbeOptions& o = probe.options();
  if (o.module && probe.reads().size() < 3) {
    out += "  module " + Num(*o.module) + " could not be picked: the module list is empty\n";
  }
}

}  // namespace

int ServerExitStatus(const ServerProbe& probe) {
  const PageRead* failure = probe.FirstFailure();
  if (failure == nullptr) return kExitOk;
  return failure->outcome == PageReadOutcome::kStatusFailed ? kExitStatusFailed : kExitRequestFailed;
}

std::string ServerReportText(const ServerProbe& probe) {
  std::string out;
  AddHosting(out, probe);
  AddAddresses(out, probe.ctrl().Properties());

  out += "\nPage reads\n";
  for (const PageRead& read : probe.reads()) {
    char line[160];
    std::snprintf(line, sizeof line, "  %-40s %s\n", read.path.c_str(), OutcomeText(read.outcome));
    out += line;
  }

  CPelioranOperPane* pane = probe.pane();
  AddServer(out, probe.ctrl(), pane != nullptr ? pane->ServerFields() : PaneServerFields{});
  if (pane != nullptr) AddList(out, "Module list", pane->ModuleCombo());
  AddModule(out, probe.ctrl());
  if (pane != nullptr) {
    AddList(out, "Speed list", pane->SpeedCombo());
    AddPane(out, *pane, probe.paneView(), probe.window());
  }

  out += "\nCalls to the hosted components, in order (" +
         Num(static_cast<int64_t>(probe.calls().size())) + ")\n";
  for (size_t i = 0; i < probe.calls().size(); ++i) {
    char number[16];
    std::snprintf(number, sizeof number, "  %3d  ", static_cast<int>(i + 1));
    out += number + CallText(probe.calls()[i]) + "\n";
  }

  out += "\nMessage boxes, in order (" + Num(static_cast<int64_t>(probe.messages().size())) + ")\n";
  for (const std::string& text : probe.messages()) out += "  " + Quoted(text) + "\n";
  AddResult(out, probe);
  return out;
}

}  // namespace pel::probe
