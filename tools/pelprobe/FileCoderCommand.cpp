#include "pelprobe/FileCoderCommand.h"

#include <cstdint>
#include <cstdio>
#include <memory>

#include "pelprobe/FileStreams.h"
#include "pelprobe/Commands.h"
#include "pelprobe/JsonWriter.h"
#include "pelprobe/OptionParser.h"
#include "ports/SteadyClock.h"

namespace pel::probe {

namespace {

// stdio's own buffer for each file; the coder moves about a megabyte at a time anyway.
constexpr size_t kFileBuffer = 1 << 20;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File OpenFile(const std::string& path, const char* how) {
  File file(std::fopen(path.c_str(), how));
  if (file) std::setvbuf(file.get(), nullptr, _IOFBF, kFileBuffer);
  return file;
}

void Fail(const char* name, const std::string& text) {
  std::fprintf(stderr, "pelprobe %s: %s\n", name, text.c_str());
}

}  // namespace

int RunFileCoderCommand(CoderDirection direction, const std::vector<std::string>& args) {
  const bool encode = direction == CoderDirection::kEncode;
  const char* name = encode ? "encode" : "decode";
  int64_t mode = 0;
  bool json = false;
  std::vector<std::string> files;
  std::vector<std::string> options;
  // IN and OUT are the two arguments that are not options (or follow "--").
  bool rest = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!rest && arg == "--") {
      rest = true;
    } else if (rest || arg.empty() || arg[0] != '-' || arg == "-") {
      files.push_back(arg);
    } else {
      options.push_back(arg);
      if (arg == "--mode" && i + 1 < args.size()) options.push_back(args[++i]);
    }
  }

  OptionParser parser(name);
  parser.AddNumber("--mode", "M", 1, 9, &mode,
                   "codec mode: 1 G.726-24 on 16-bit stereo PCM, 2 mu-law, 9 IMA ADPCM on 16-bit mono PCM");
  parser.AddFlag("--json", &json, "print the counts as one JSON object");
  const OptionParser::Result parsed = parser.Parse(options);
  // The parser knows the options only; the two files follow them.
  std::string usage = parser.Usage();
  const size_t firstLineEnd = usage.find('\n');
  usage.replace(0, firstLineEnd, "usage: pelprobe " + std::string(name) + " --mode M [--json] IN OUT");
  usage += "  IN OUT    input and output files\n";
  if (parsed == OptionParser::Result::kHelp) {
    std::fputs(usage.c_str(), stdout);
    std::fputs(encode ? "Codes raw input (16-bit little-endian PCM for modes 1 and 9, mu-law bytes "
                        "for mode 2) into the mode's payload blocks, as the control's capture does.\n"
                      : "Decodes the mode's payload blocks back into raw 16-bit little-endian PCM "
                        "(modes 1 and 9) or mu-law bytes (mode 2).\n",
               stdout);
    return kExitOk;
  }
  std::string problem;
  if (parsed == OptionParser::Result::kError) {
    problem = parser.error();
  } else if (!parser.Given("--mode")) {
    problem = "option --mode is required";
  } else if (mode != 1 && mode != 2 && mode != 9) {
    problem = "option --mode: " + std::to_string(mode) + " is not 1, 2 or 9";
  } else if (files.size() != 2) {
    problem = "give exactly two files, IN and OUT";
  }
  if (!problem.empty()) {
    Fail(name, problem + "\n(pelprobe " + std::string(name) + " --help shows the options)");
    return kExitUsage;
  }

  File in = OpenFile(files[0], "rb");
  if (!in) {
    Fail(name, "cannot open " + files[0]);
    return kExitFileFailed;
  }
  File out = OpenFile(files[1], "wb");
  if (!out) {
    Fail(name, "cannot create " + files[1]);
    return kExitFileFailed;
  }
  FileSource source(in.get());
  FileSink sink(out.get());
  CoderCounts counts;
  CoderResult result = encode ? EncodeAudio(static_cast<int>(mode), source, sink,
                                            DefaultMillisecondClock(), counts)
                              : DecodeAudio(static_cast<int>(mode), source, sink, counts);
  if (std::fclose(out.release()) != 0 && result == CoderResult::kDone) {
    result = CoderResult::kWriteFailed;
  }
  if (json) {
    std::string text;
    JsonWriter writer(text);
    writer.BeginObject(true);
    writer.Key("blocks").Unsigned(counts.blocks);
    writer.Key("bytesIn").Unsigned(counts.bytesIn);
    writer.Key("bytesOut").Unsigned(counts.bytesOut);
    writer.Key("padded").Unsigned(counts.padded);
    writer.EndObject();
    std::fputs(text.c_str(), stdout);
  }
  if (result != CoderResult::kDone) {
    Fail(name, CoderResultText(result));
    return kExitFileFailed;
  }
  return kExitOk;
}

}  // namespace pel::probe
