#include "PortFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace kvsim {

bool WritePortFile(const std::string& path, uint16_t port, std::string& error) {
  const std::string temporary = path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::trunc);
    out << port << "\n";
    out.close();
    if (!out) {
      error = "cannot write " + temporary;
      return false;
    }
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    error = "cannot rename " + temporary + " to " + path + ": " + std::strerror(errno);
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace kvsim
