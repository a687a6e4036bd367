#include "pelprobe/FileStreams.h"

namespace pel::probe {

size_t FileSource::Read(uint8_t* to, size_t count) { return std::fread(to, 1, count, file_); }

bool FileSource::Failed() const { return std::ferror(file_) != 0; }

bool FileSink::Write(const uint8_t* from, size_t count) {
  return std::fwrite(from, 1, count, file_) == count;
}

}  // namespace pel::probe
