#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pel::probe {

// A strict parser for a command's options: "--name VALUE" or "--name=VALUE", flags without a
// value, whole decimal numbers within a range. Unknown options, options given twice, missing
// values, values that are not numbers, numbers out of range, stray arguments and missing
// required options are errors. "--help" (or "-h") asks for the usage text.
class OptionParser {
 public:
  enum class Result { kOk, kHelp, kError };

  explicit OptionParser(std::string command) : command_(std::move(command)) {}

  void AddFlag(const std::string& name, bool* target, const std::string& help);
  void AddText(const std::string& name, const std::string& valueName, std::string* target,
               const std::string& help, bool required = false);
  void AddNumber(const std::string& name, const std::string& valueName, int64_t min, int64_t max,
                 int64_t* target, const std::string& help);

  // Fills the targets of the options given. After kError, error() says what is wrong.
  Result Parse(const std::vector<std::string>& args);
  const std::string& error() const { return error_; }

  bool Given(const std::string& name) const;

  // "usage: pelprobe COMMAND --a A [--b N] ..." and one line per option.
  std::string Usage() const;

 private:
  enum class Kind { kFlag, kText, kNumber };
  struct Option {
    std::string name;
    Kind kind;
    std::string valueName;
    std::string help;
    bool required = false;
    int64_t min = 0;
    int64_t max = 0;
    bool* flag = nullptr;
    std::string* text = nullptr;
    int64_t* number = nullptr;
    bool given = false;
  };

  Option* Find(const std::string& name);
  bool Store(Option& option, const std::string& value);
  Result Fail(std::string message);

  std::string command_;
  std::vector<Option> options_;
  std::string error_;
};

// A whole decimal number ("-" allowed when min is negative) within [min, max]; false for
// anything else, including blanks, signs "+", other characters and overflow.
bool ParseDecimal(const std::string& text, int64_t min, int64_t max, int64_t& value);

}  // namespace pel::probe
