#include "Report.h"

#include <windows.h>

void Report::Closer::operator()(std::FILE* f) const { std::fclose(f); }

Report::Report(const std::string& path) {
  if (path.empty()) {
    file_ = stdout;
    return;
  }
  owned_.reset(std::fopen(path.c_str(), "w"));
  file_ = owned_.get();
}

void Report::Line(const std::string& text) {
  if (!file_) return;
  std::fputs(text.c_str(), file_);
  std::fputc('\n', file_);
  std::fflush(file_);
}

std::string Escaped(const std::wstring& text) {
  std::wstring escaped;
  for (wchar_t c : text) {
    switch (c) {
      case L'\t': escaped += L"\\t"; break;
      case L'\n': escaped += L"\\n"; break;
      case L'\r': escaped += L"\\r"; break;
      case L'\\': escaped += L"\\\\"; break;
      default: escaped += c;
    }
  }
  if (escaped.empty()) return {};
  int size = WideCharToMultiByte(CP_UTF8, 0, escaped.c_str(), static_cast<int>(escaped.size()),
                                 nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, escaped.c_str(), static_cast<int>(escaped.size()), out.data(),
                      size, nullptr, nullptr);
  return out;
}

std::string Hex(unsigned long value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", value);
  return text;
}
