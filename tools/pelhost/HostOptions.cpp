#include "HostOptions.h"

#include "Numbers.h"

namespace pel::host {

const char* const kHostUsage =
    "usage: pelhost [options] [actions] CLSID|ProgID\n"
    "options:\n"
    "  --dll PATH          create the control from this DLL's class factory (no registry)\n"
    "  --param NAME=VALUE  a <param> tag for IPersistPropertyBag::Load (repeatable)\n"
    "  --url URL           pose as a web browser showing URL\n"
    "  --pos X,Y           the control's place in the host window (0,0)\n"
    "  --size WxH          the control's size (1290x720)\n"
    "  --test              record message boxes and dismiss them; close after the actions\n"
    "  --exit              close after the actions\n"
    "  --out FILE          write the report to FILE instead of standard output\n"
    "actions, run in order once the control is in-place active:\n"
    "  --wait MS           run the message loop for MS milliseconds\n"
    "  --get NAME          read a property through IDispatch\n"
    "  --put NAME=VALUE    write a property (the text is coerced by the control)\n"
    "  --call NAME         call a method that takes no arguments\n"
    "  --verb N            IOleObject::DoVerb(N), e.g. -7 for the property pages\n"
    "  --click ID          click the child window with control ID (any depth)\n"
    "  --click-at X,Y      click the control's window at X,Y (its client coordinates)\n"
    "  --windows           list the control's window tree\n"
    "  --shot FILE         save the host window's client area as a 24-bit BMP\n"
    "  --dialogs           list the open modeless dialogs and their window trees\n"
    "  --dialog-click TITLE:ID  click control ID of the dialog titled TITLE\n"
    "  --key TITLE:VK      press key VK (decimal) in the dialog titled TITLE\n"
    "  --select ID:INDEX   choose entry INDEX of the combo box with control ID\n"
    "  --hover ID          move the mouse over the child window with control ID\n"
    "  --check TITLE:ID    report the check state of a dialog's button\n"
    "  --press VK[+shift|+alt]  press a key in the focused window; reports the focus after it\n";

namespace {

// The actions whose argument is a number, or two joined by a separator: refused when the
// text holds anything else.
bool NumbersFit(HostAction::Kind kind, const std::string& text) {
  int a = 0;
  int b = 0;
  switch (kind) {
    case HostAction::kWait:
    case HostAction::kVerb:
    case HostAction::kClick:
    case HostAction::kHover: return hostkit::ParseInt(text, &a);
    case HostAction::kClickAt: return hostkit::ParseIntPair(text, ',', &a, &b);
    case HostAction::kSelect: return hostkit::ParseIntPair(text, ':', &a, &b);
    default: return true;
  }
}

// The actions that take a value.
const HostAction::Kind* ActionNamed(const std::string& option) {
  static const std::pair<const char*, HostAction::Kind> kActions[] = {
      {"--wait", HostAction::kWait},       {"--get", HostAction::kGet},
      {"--put", HostAction::kPut},         {"--call", HostAction::kCall},
      {"--verb", HostAction::kVerb},       {"--click", HostAction::kClick},
      {"--click-at", HostAction::kClickAt}, {"--shot", HostAction::kShot},
      {"--dialog-click", HostAction::kDialogClick}, {"--key", HostAction::kKey},
      {"--select", HostAction::kSelect},   {"--hover", HostAction::kHover},
      {"--check", HostAction::kCheck},     {"--press", HostAction::kPress}};
  for (const auto& [name, kind] : kActions) {
    if (option == name) return &kind;
  }
  return nullptr;
}

bool SplitAssignment(const std::string& text, std::string& name, std::string& value) {
  const size_t eq = text.find('=');
  if (eq == std::string::npos || eq == 0) return false;
  name = text.substr(0, eq);
  value = text.substr(eq + 1);
  return true;
}

}  // namespace

bool ParseHostOptions(const std::vector<std::string>& args, HostOptions& options,
                      std::string& error) {
  for (size_t k = 0; k < args.size(); ++k) {
    const std::string& a = args[k];
    const bool has_value = k + 1 < args.size();
    const std::string value = has_value ? args[k + 1] : std::string();
    auto need_value = [&]() {
      if (!has_value) error = a + " needs a value";
      return has_value;
    };
    std::string name;
    std::string text;
    if (a == "--test") {
      options.test = true;
      options.exitAfter = true;
    } else if (a == "--exit") {
      options.exitAfter = true;
    } else if (a == "--windows") {
      options.actions.push_back({HostAction::kWindows, {}});
    } else if (a == "--dialogs") {
      options.actions.push_back({HostAction::kDialogs, {}});
    } else if (a.rfind("--", 0) != 0) {
      if (!options.control.empty()) {
        error = "more than one control named";
        return false;
      }
      options.control = a;
    } else if (!need_value()) {
      return false;
    } else {
      ++k;
      if (a == "--dll") {
        options.dll = value;
      } else if (a == "--param") {
        if (!SplitAssignment(value, name, text)) {
          error = "--param wants NAME=VALUE";
          return false;
        }
        options.params.emplace_back(name, text);
      } else if (a == "--url") {
        options.url = value;
      } else if (a == "--pos") {
        if (!hostkit::ParseIntPair(value, ',', &options.x, &options.y)) {
          error = "--pos wants X,Y";
          return false;
        }
      } else if (a == "--size") {
        if (!hostkit::ParseIntPair(value, 'x', &options.width, &options.height) ||
            options.width <= 0 || options.height <= 0) {
          error = "--size wants WxH";
          return false;
        }
      } else if (a == "--out") {
        options.out = value;
      } else if (const HostAction::Kind* kind = ActionNamed(a)) {
        if (!NumbersFit(*kind, value) ||
            (*kind == HostAction::kPut && !SplitAssignment(value, name, text))) {
          error = a + ": not understood: " + value;
          return false;
        }
        options.actions.push_back({*kind, value});
      } else {
        error = "unknown option " + a;
        return false;
      }
    }
  }
  if (options.control.empty()) {
    error = "no control named";
    return false;
  }
  return true;
}

}  // namespace pel::host
