// A command line read front to back. Each matcher looks at the current argument; when it is
// the option named, it takes it (and its value) and answers true. A missing or malformed value
// is an error: the reading stops and Error() says why.
//
//   hostkit::Args args(argc, argv);
//   while (args.More()) {
//     if (args.Number(L"--cycles", &cycles, 1)) continue;
//     if (args.Value(L"--out", &out)) continue;
//     positional.push_back(args.Take());
//   }
//   if (!args.Ok()) ... args.Error()
#pragma once
#include <climits>
#include <string>
#include <string_view>
#include <vector>

namespace hostkit {

class Args {
 public:
  Args(int argc, wchar_t** argv);  // argv[0], the program, is skipped

  bool More() const { return ok_ && next_ < args_.size(); }
  bool Ok() const { return ok_; }
  const std::string& Error() const { return error_; }

  bool Flag(std::wstring_view name);
  bool Value(std::wstring_view name, std::wstring* value);
  bool Value(std::wstring_view name, std::string* utf8);
  // NAME=VALUE, split at the first '='; the name must not be empty.
  bool Assignment(std::wstring_view name, std::wstring* left, std::wstring* right);
  // A whole number within [min, max], nothing after it.
  bool Number(std::wstring_view name, int* out, int min = INT_MIN, int max = INT_MAX);
  bool Unsigned(std::wstring_view name, unsigned long long* out);
  // Two whole numbers joined by `separator`, e.g. WxH.
  bool Pair(std::wstring_view name, char separator, int* a, int* b);

  // The current argument, whatever it is; an option here is an unknown one.
  std::wstring Take();
  // Stops the reading with `why`.
  void Fail(const std::string& why);

 private:
  bool Named(std::wstring_view name, std::wstring* value);
  // A value that does not hold: stops the reading with what `name` wants.
  void Refuse(std::wstring_view name, const char* wants, const std::wstring& value);

  std::vector<std::wstring> args_;
  size_t next_ = 0;
  bool ok_ = true;
  std::string error_;
};

}  // namespace hostkit
