#include "Args.h"

#include "Numbers.h"
#include "Text.h"

namespace hostkit {

Args::Args(int argc, wchar_t** argv) : args_(argv + (argc > 0 ? 1 : 0), argv + argc) {}

bool Args::Flag(std::wstring_view name) {
  if (!More() || args_[next_] != name) return false;
  ++next_;
  return true;
}

bool Args::Named(std::wstring_view name, std::wstring* value) {
  if (!More() || args_[next_] != name) return false;
  if (next_ + 1 >= args_.size()) {
    Fail(Utf8(name) + " needs a value");
  } else {
    *value = args_[next_ + 1];
    next_ += 2;
  }
  return true;
}

void Args::Refuse(std::wstring_view name, const char* wants, const std::wstring& value) {
  Fail(Utf8(name) + " wants " + wants + ", not '" + Utf8(value) + "'");
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
  if (!ok_) return true;
  const size_t eq = value.find(L'=');
  if (eq == std::wstring::npos || eq == 0) {
    Refuse(name, "NAME=VALUE", value);
  } else {
    *left = value.substr(0, eq);
    *right = value.substr(eq + 1);
  }
  return true;
}

bool Args::Number(std::wstring_view name, int* out, int min, int max) {
  std::wstring value;
  if (!Named(name, &value)) return false;
  if (!ok_) return true;
  int number = 0;
  if (!ParseInt(Utf8(value), &number) || number < min || number > max) {
    const std::string range = std::to_string(min) + " to " + std::to_string(max);
    Refuse(name, ("a whole number from " + range).c_str(), value);
  } else {
    *out = number;
  }
  return true;
}

bool Args::Unsigned(std::wstring_view name, unsigned long long* out) {
  std::wstring value;
  if (!Named(name, &value)) return false;
  if (!ok_) return true;
  if (!ParseUnsigned(Utf8(value), out)) Refuse(name, "a whole number", value);
  return true;
}

bool Args::Pair(std::wstring_view name, char separator, int* a, int* b) {
  std::wstring value;
  if (!Named(name, &value)) return false;
  if (!ok_) return true;
  if (!ParseIntPair(Utf8(value), separator, a, b)) {
    Refuse(name, "two whole numbers joined by a separator", value);
  }
  return true;
}

std::wstring Args::Take() {
  if (!More()) return {};
  if (args_[next_].rfind(L"--", 0) == 0) {
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
