#pragma once

#include <cstdio>

#include "audio/AudioStreamCoder.h"

namespace pel::probe {

// An open file as the audio stream coder reads or writes it.
class FileSource : public ByteSource {
 public:
  explicit FileSource(std::FILE* file) : file_(file) {}
  size_t Read(uint8_t* to, size_t count) override;
  bool Failed() const override;

 private:
  std::FILE* file_;
};

class FileSink : public ByteSink {
 public:
  explicit FileSink(std::FILE* file) : file_(file) {}
  bool Write(const uint8_t* from, size_t count) override;

 private:
  std::FILE* file_;
};

}  // namespace pel::probe
