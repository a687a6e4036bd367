#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "serverinfo/AccessEntry.h"
#include "serverinfo/PageText.h"
#include "serverinfo/ServerRecords.h"

namespace pel {

// Path of the server information page.
constexpr const char* kServerInfoPath = "/asp-get/kvsvrinf.asp";

// Longest module name kept (the name area holds 255 characters and a terminator).
constexpr size_t kMaxModuleNameChars = 255;

// One entry for the pane's module list.
struct ModuleListEntry {
  std::string name;
  int32_t module = 0;  // the slot number n of VSMIPTYPEn / VSMNAMEn
};

// What a received server information page says.
struct ServerPageValues {
  PaneServerFields pane;              // iBuildDate, iUdpPort, iIsLimit
  AccessWords dwProperty{};           // words whose key is absent keep the given value
  int32_t iAudioDeviceType = 0;       // 0, 1, 2, 9, or -1 for any other value
  std::vector<ModuleListEntry> modules;  // in slot order
  int32_t type3Slots = 0;             // slots whose VSMIPTYPEn is 3, listed or not
  int32_t bVoiceSerial = 0;
};

// Whether module `m` may be listed: every module when the first access entry names module 255,
// else when some entry with the view right names a module equal to m modulo 32.
bool ModuleListable(const AccessWords& words, int32_t m);

// Reads a received page. `property` is the access words before the read: a PROPERTYn key that
// is absent leaves word n as it was.
ServerPageValues ParseServerPage(const PageText& page, const AccessWords& property);

// The slot numbers n below `count` for which "VSMIPTYPE<n>=" occurs in the page, ascending.
// The same as trying every n from 0 to count-1, without the time a huge count would take.
std::vector<int32_t> PresentModuleSlots(const PageText& page, int32_t count);

}  // namespace pel
