// The harness's report: one tab-separated line per fact, written at once so that a crash
// still leaves what was seen before it.
#pragma once
#include <cstdio>
#include <memory>
#include <string>

class Report {
 public:
  // An empty path writes to standard output.
  explicit Report(const std::string& path);
  bool Ok() const { return file_ != nullptr; }
  void Line(const std::string& text);

 private:
  struct Closer {
    void operator()(std::FILE* f) const;
  };
  std::unique_ptr<std::FILE, Closer> owned_;
  std::FILE* file_ = nullptr;
};

// Texts as the report writes them: tabs, line breaks and backslashes escaped.
std::string Escaped(const std::wstring& text);
std::string Hex(unsigned long value);
