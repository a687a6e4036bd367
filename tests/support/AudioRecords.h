#pragma once

#include <string>

namespace pel::test {

// The client's 68-byte records as the audio protocol lays them out, built here apart from
// the core: login (kind 6, user and password in 32-byte fields) and logout (kind 3).
inline std::string LoginRecordBytes(const std::string& user, const std::string& password) {
  std::string record("\x7E\x06\x00\x00", 4);
  record += user + std::string(32 - user.size(), '\0');
  record += password + std::string(32 - password.size(), '\0');
  return record;
}

inline std::string LogoutRecordBytes() { return std::string("\x7E\x03", 2) + std::string(66, '\0'); }

}  // namespace pel::test
