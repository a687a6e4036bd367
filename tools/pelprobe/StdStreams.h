#pragma once

// The C runtime's descriptor calls under their POSIX and Windows names, for redirecting the
// standard streams while the core writes its diagnostic lines.
#include <cstdio>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace pel::probe::stdstreams {

constexpr int kStdout = 1;
constexpr int kStderr = 2;

#ifdef _WIN32
inline int Dup(int fd) { return _dup(fd); }
inline int Dup2(int from, int to) { return _dup2(from, to); }
inline int Close(int fd) { return _close(fd); }
inline int FileNo(std::FILE* file) { return _fileno(file); }
#else
inline int Dup(int fd) { return dup(fd); }
inline int Dup2(int from, int to) { return dup2(from, to); }
inline int Close(int fd) { return close(fd); }
inline int FileNo(std::FILE* file) { return fileno(file); }
#endif

}  // namespace pel::probe::stdstreams
