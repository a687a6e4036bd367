#include "pelprobe/OptionParser.h"

#include <algorithm>

namespace pel::probe {

bool ParseDecimal(const std::string& text, int64_t min, int64_t max, int64_t& value) {
  size_t i = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) ++i;
  if (i == text.size()) return false;
  // Accumulated as a negative number, which has room for the lowest value too.
  int64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return false;
    const int digit = c - '0';
    if (magnitude < (INT64_MIN + digit) / 10) return false;
    magnitude = magnitude * 10 - digit;
  }
  int64_t result = magnitude;
  if (!negative) {
    if (magnitude == INT64_MIN) return false;
    result = -magnitude;
  }
  if (result < min || result > max) return false;
  value = result;
  return true;
}

void OptionParser::AddFlag(const std::string& name, bool* target, const std::string& help) {
  Option option{name, Kind::kFlag, "", help};
  option.flag = target;
  options_.push_back(option);
}

void OptionParser::AddText(const std::string& name, const std::string& valueName,
                           std::string* target, const std::string& help, bool required) {
  Option option{name, Kind::kText, valueName, help};
  option.required = required;
  option.text = target;
  options_.push_back(option);
}

void OptionParser::AddNumber(const std::string& name, const std::string& valueName, int64_t min,
                             int64_t max, int64_t* target, const std::string& help) {
  Option option{name, Kind::kNumber, valueName, help};
  option.min = min;
  option.max = max;
  option.number = target;
  options_.push_back(option);
}

OptionParser::Option* OptionParser::Find(const std::string& name) {
  const auto it = std::find_if(options_.begin(), options_.end(),
                               [&](const Option& o) { return o.name == name; });
  return it == options_.end() ? nullptr : &*it;
}

bool OptionParser::Given(const std::string& name) const {
  return std::any_of(options_.begin(), options_.end(),
                     [&](const Option& o) { return o.name == name && o.given; });
}

OptionParser::Result OptionParser::Fail(std::string message) {
  error_ = std::move(message);
  return Result::kError;
}

bool OptionParser::Store(Option& option, const std::string& value) {
  if (option.kind == Kind::kText) {
    *option.text = value;
    return true;
  }
  int64_t number = 0;
  if (!ParseDecimal(value, option.min, option.max, number)) return false;
  *option.number = number;
  return true;
}

OptionParser::Result OptionParser::Parse(const std::vector<std::string>& args) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") return Result::kHelp;
    if (arg.size() < 3 || arg.compare(0, 2, "--") != 0) {
      return Fail("unexpected argument '" + arg + "'");
    }
    const size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    Option* option = Find(name);
    if (option == nullptr) return Fail("unknown option " + name);
    if (option->given) return Fail("option " + name + " is given twice");
    option->given = true;

    if (option->kind == Kind::kFlag) {
      if (equals != std::string::npos) return Fail("option " + name + " takes no value");
      *option->flag = true;
      continue;
    }
    std::string value;
    if (equals != std::string::npos) {
      value = arg.substr(equals + 1);
    } else {
      // A following option is not taken as the value: "--addr --json" misses the address.
      if (i + 1 >= args.size() || args[i + 1].compare(0, 2, "--") == 0) {
        return Fail("option " + name + " needs a value (" + option->valueName + ")");
      }
      value = args[++i];
    }
    if (!Store(*option, value)) {
      return Fail("option " + name + ": '" + value + "' is not a whole number from " +
                  std::to_string(option->min) + " to " + std::to_string(option->max));
    }
  }
  for (const Option& option : options_) {
    if (option.required && !option.given) return Fail("option " + option.name + " is required");
  }
  return Result::kOk;
}

std::string OptionParser::Usage() const {
  std::string synopsis = "usage: pelprobe " + command_;
  std::string lines;
  size_t width = 0;
  for (const Option& o : options_) {
    width = std::max(width, o.name.size() + (o.valueName.empty() ? 0 : o.valueName.size() + 1));
  }
  for (const Option& o : options_) {
    std::string form = o.name + (o.valueName.empty() ? "" : " " + o.valueName);
    synopsis += o.required ? " " + form : " [" + form + "]";
    lines += "  " + form + std::string(width - form.size() + 2, ' ') + o.help + "\n";
  }
  return synopsis + "\n" + lines;
}

}  // namespace pel::probe
