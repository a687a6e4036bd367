#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "serverinfo/PageText.h"

namespace pel {

constexpr int kRelayOutputs = 6;
// The relay state page and the relay request are read into buffers of this size.
constexpr size_t kRelayBufferSize = 1024;
// Longest output name kept (its area holds 255 characters and a terminator).
constexpr size_t kMaxRelayNameChars = 255;

constexpr const char* kRelayStatePathFormat = "/asp-get/kvdioget.asp?KvModId=%d";
constexpr const char* kRelayRequestPathFormat =
    "/cgi-bin/kvdoctr.cgi?ServerId=%d&DoData=0x%02x&KvCgiVer=0x%04x";
// The page name the relay request's status is reported under.
constexpr const char* kRelayRequestPageName = "kvdoctl.cgi";

// What a relay state page says: the output state word (bit n is output n+1, 1 = on; 0 when
// DO_DATA= is absent) and the names of outputs 1..6 (none where DONAMEn=" or its closing quote
// is missing).
struct RelayStateValues {
  uint32_t dwDoData = 0;
  std::array<std::optional<std::string>, kRelayOutputs> names;
};

RelayStateValues ParseRelayStatePage(const PageText& page);

// "/asp-get/kvdioget.asp?KvModId=<module>".
std::string RelayStatePath(int32_t module);
// The relay request's path for `module` and the low eight bits of `state`.
std::string RelayRequestPath(int32_t module, uint32_t state);

}  // namespace pel
