// The control's diagnostic lines go to the debugger (a debug viewer, or Wine's +debugstr
// channel): inside a browser nobody reads standard output.
#include <windows.h>

#include <string>
#include <string_view>

#include "ports/Diagnostics.h"

namespace pel {

namespace {

class DebugOutputSink : public IDiagnosticSink {
 public:
  void Line(std::string_view text) override {
    const int length = static_cast<int>(text.size());
    std::wstring wide(text.size() + 1, L'\0');
    const int converted =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), length, &wide[0], length);
    wide.resize(static_cast<size_t>(converted > 0 ? converted : 0));
    wide += L'\n';
    OutputDebugStringW(wide.c_str());
  }
};

}  // namespace

// Called once the DLL is loaded. The sink lives as long as the module; no finisher thread
// outlives the module (each holds a reference to it).
void SendDiagnosticsToDebugger() {
  static DebugOutputSink sink;
  SetDiagnosticSink(&sink);
}

}  // namespace pel
