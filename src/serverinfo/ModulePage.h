#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "serverinfo/AccessEntry.h"
#include "serverinfo/PageText.h"

namespace pel {

// Path format of the module information page.
constexpr const char* kModuleInfoPathFormat = "/asp-get/kvmodinf.asp?KvModId=%d";

// Longest camera title passed to the viewer.
constexpr size_t kMaxCameraTitleChars = 31;

// What a received module information page says.
struct ModulePageValues {
  int32_t iNumCam = 6;
  int32_t iVideoFormat = 0;
  int32_t iNumDo = 6;
  uint32_t dwPtzInstFlag = 0xFFFFFFFFu;  // absent: -1
  int32_t iPtzFuncOptFlag = -1;
  // Titles of cameras 1..6 among the first iNumCam; none where the key or its closing quote
  // is missing (the viewer keeps the title it has).
  std::array<std::optional<std::string>, 6> titles;
};

ModulePageValues ParseModulePage(const PageText& page);

// The user's rights on one module, one bit per camera or relay output.
struct ModuleRights {
  uint32_t dwViewRights = 0;
  uint32_t dwPtzRights = 0;
  uint32_t dwRelayRights = 0;
  uint32_t dwAudioRights = 0;
};

// The rights that the access entries naming module `m` grant; everything when all four words
// are 0xFFFFFFFF.
ModuleRights RightsForModule(const AccessWords& words, int32_t m);

}  // namespace pel
