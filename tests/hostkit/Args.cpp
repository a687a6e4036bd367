#include "Args.h"

#include "Numbers.h"
#include "Text.h"

namespace hostkit {

Args::Args(int argc, wchar_t** argv) : args_(argv + (argc > 0 ? 1 : 0), argv + argc) {}

bool Args::AtOption() const { return More() && args_[next_].rfind(L"--", 0) == 0; }

bool Args::Flag(std::wstring_view name) {
  if (!More() || args_[next_] != name) return false;
  ++next_;
  return true;
}

bool Args::Named(std::wstring_view name, std::wstring* value) {
  if (!More() || args_[next_] != name) return false;
  if (next_ + 1 >= args_.size()) {
    Fail(Utf8(name) + " needs a value");
    return true;
  }
  *value = args_[next_ + 1];
  next_ += 2;
  return true;
}

bool Args::Value(std::wstring_view name, std::wstring* value) { return Named(name, value); }

bool Args::Value(std::wstring_view name, std::string* utf8) {
  std::wstring value;
  if (!Named(name, &value)) return false;
  *utf8 = Utf8(value);
  return true;
}

bool Args::Assignment(std::wstring_view name, std::wstring* left, std::wstring* right) {
  std::wstring value;
  if (!Named(name, &value)) return false;
  const size_t eq = value.find(L'=');
  if (ok_ && (eq == std::wstring::npos || eq == 0)) {
    Fail(Utf8(name) + " wants NAME=VALUE, not " + Utf8(value));
  } else if (ok_) {
    *left = value.substr(0, eq);
    *right = value.substr(eq + 1);
  }
  return true;
}

bool Args::Number(std::wstring_view name, long long* out, long long min, long long max) {
  std::wstring value;
  if (!Named(name, &value)) return false;
  long long number = 0;
  if (ok_ && (!ParseNumber(value, &number) || number < min || number > max)) {
    Fail(Utf8(name) + " wants a whole number from " + std::to_string(min) + " to " +
         std::to_string(max) + ", not '" + Utf8(value) + "'");
  } else if (ok_) {
    *out = number;
  }
  return true;
}

bool Args::Number(std::wstring_view name, int* out, int min, int max) {
  long long number = *out;
  if (!Number(name, &number, min, max)) return false;
  if (ok_) *out = static_cast<int>(number);
  return true;
}

bool Args::Unsigned(std::wstring_view name, unsigned long long* out) {
  std::wstring value;
  if (!Named(name, &value)) return false;
  if (ok_ && !ParseUnsigned(value, out)) {
    Fail(Utf8(name) + " wants a whole number, not '" + Utf8(value) + "'");
  }
  return true;
}

bool Args::Pair(std::wstring_view name, wchar_t separator, int* a, int* b) {
  std::wstring value;
  if (!Named(name, &value)) return false;
  long long x = 0;
  long long y = 0;
  if (ok_ && (!ParsePair(value, separator, &x, &y) || x < INT_MIN || x > INT_MAX ||
              y < INT_MIN || y > INT_MAX)) {
    Fail(Utf8(name) + " wants two whole numbers joined by '" +
         Utf8(std::wstring(1, separator)) + "', not '" + Utf8(value) + "'");
  } else if (ok_) {
    *a = static_cast<int>(x);
    *b = static_cast<int>(y);
  }
  return true;
}

std::wstring Args::Take() {
  if (!More()) return {};
  if (AtOption()) {
    Fail("not understood: " + Utf8(args_[next_]));
    return {};
  }
  return args_[next_++];
}

void Args::Fail(const std::string& why) {
  if (!ok_) return;
  ok_ = false;
  error_ = why;
}

}  // namespace hostkit
