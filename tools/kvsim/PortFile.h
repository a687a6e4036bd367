#pragma once

#include <cstdint>
#include <string>

namespace kvsim {

// Writes the port as decimal text to path through path + ".tmp" and a rename, so that a reader
// sees either no file or the whole number.
bool WritePortFile(const std::string& path, uint16_t port, std::string& error);

}  // namespace kvsim
