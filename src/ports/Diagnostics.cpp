#include "ports/Diagnostics.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace pel {

namespace {

// The lock is held while a sink runs, so that a sink replaced by SetDiagnosticSink is never
// called afterwards and a sink sees one line at a time.
std::mutex g_mutex;
IDiagnosticSink* g_sink = nullptr;

}  // namespace

IDiagnosticSink* SetDiagnosticSink(IDiagnosticSink* sink) {
  std::lock_guard<std::mutex> lock(g_mutex);
  IDiagnosticSink* const replaced = g_sink;
  g_sink = sink;
  return replaced;
}

void ReportDiagnostic(std::string_view line) {
  std::lock_guard<std::mutex> lock(g_mutex);
  if (g_sink != nullptr) g_sink->Line(line);
}

void ReportDiagnosticF(const char* format, ...) {
  // The core's lines are short; a longer one is cut.
  char text[512];
  va_list args;
  va_start(args, format);
  const int length = std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  if (length < 0) return;
  std::string_view line(text, std::min(static_cast<size_t>(length), sizeof text - 1));
  if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
  ReportDiagnostic(line);
}

DiagnosticSinkScope::DiagnosticSinkScope(IDiagnosticSink& sink)
    : replaced_(SetDiagnosticSink(&sink)) {}

DiagnosticSinkScope::~DiagnosticSinkScope() { SetDiagnosticSink(replaced_); }

}  // namespace pel
