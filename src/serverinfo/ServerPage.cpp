#include "serverinfo/ServerPage.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace pel {

namespace {

constexpr const char* kPropertyKeys[4] = {"PROPERTY0", "PROPERTY1", "PROPERTY2", "PROPERTY3"};
// The value follows "PROPERTYn=": ten characters after the start of the match, whatever the
// tenth is.
constexpr size_t kPropertyValueOffset = 10;

constexpr const char* kVoiceModeKeys[4] = {"TTYS0_MODE=", "TTYS1_MODE=", "TTYS2_MODE=",
                                           "TTYS3_MODE="};
// The key (11 characters) and an opening quote: the first character of a quoted value.
constexpr size_t kVoiceModeValueOffset = 12;

constexpr const char* kSlotTypePrefix = "VSMIPTYPE";

int32_t AudioDeviceType(int32_t value) {
  return value == 0 || value == 1 || value == 2 || value == 9 ? value : -1;
}

}  // namespace

bool ModuleListable(const AccessWords& words, int32_t m) {
  if (AccessEntry::At(words, 0).Module() == AccessEntry::kAllModules) return true;
  for (int i = 0; i < AccessEntry::kCount; ++i) {
    const AccessEntry entry = AccessEntry::At(words, i);
    // Both sides are reduced the same way, so a negative m never matches a module number.
    if (entry.View() && m >= 0 && entry.Module() % 32 == m % 32) return true;
  }
  return false;
}

std::vector<int32_t> PresentModuleSlots(const PageText& page, int32_t count) {
  std::vector<int32_t> slots;
  if (count <= 0) return slots;
  const size_t prefixLength = std::strlen(kSlotTypePrefix);
  size_t from = 0;
  while (from < page.length()) {
    const PageText rest(page.data() + from, page.length() - from);
    const std::optional<size_t> at = rest.Find(kSlotTypePrefix);
    if (!at) break;
    size_t pos = from + *at + prefixLength;
    from = from + *at + 1;
    // The key text "VSMIPTYPE%d=" of a slot: decimal digits without a leading zero (except
    // "0" itself), then "=".
    const size_t digitsStart = pos;
    int64_t n = 0;
    while (pos < page.length() && page.CharAt(pos) >= '0' && page.CharAt(pos) <= '9' &&
           pos - digitsStart < 11) {
      n = n * 10 + (page.CharAt(pos) - '0');
      ++pos;
    }
    const size_t digits = pos - digitsStart;
    if (digits == 0 || page.CharAt(pos) != '=') continue;
    if (digits > 1 && page.CharAt(digitsStart) == '0') continue;
    if (n >= count) continue;
    slots.push_back(static_cast<int32_t>(n));
  }
  std::sort(slots.begin(), slots.end());
  slots.erase(std::unique(slots.begin(), slots.end()), slots.end());
  return slots;
}

ServerPageValues ParseServerPage(const PageText& page, const AccessWords& property) {
  ServerPageValues v;
  v.pane.iBuildDate = page.NumberAfter("SYS_BUILDDATE=", -1);
  v.pane.iUdpPort = page.NumberAfter("UDPPORT=", 32001);
  v.pane.iIsLimit = page.NumberAfter("IsLimit=", 0);
  v.dwProperty = property;
  for (size_t w = 0; w < 4; ++w) {
    if (const std::optional<size_t> at = page.Find(kPropertyKeys[w])) {
      v.dwProperty[w] = static_cast<uint32_t>(page.NumberAt(*at + kPropertyValueOffset));
    }
  }
  v.iAudioDeviceType = AudioDeviceType(page.NumberAfter("AUDIODEVICETYPE=", 0));

  const int32_t count = page.NumberAfter("VSMMAXCNT=", 0);
  for (const int32_t n : PresentModuleSlots(page, count)) {
    char key[32];
    std::snprintf(key, sizeof key, "VSMIPTYPE%d=", static_cast<int>(n));
    const int32_t type = page.NumberAfter(key, 0);
    if (type != 0 && ModuleListable(v.dwProperty, n)) {
      std::snprintf(key, sizeof key, "VSMNAME%d=\"", static_cast<int>(n));
      if (std::optional<std::string> name = page.QuotedAfter(key, kMaxModuleNameChars)) {
        v.modules.push_back(ModuleListEntry{std::move(*name), n});
      }
    }
    if (type == 3) ++v.type3Slots;
  }

  v.bVoiceSerial = 0;
  for (const char* key : kVoiceModeKeys) {
    const std::optional<size_t> at = page.Find(key);
    if (at && page.CharAt(*at + kVoiceModeValueOffset) == 'a') v.bVoiceSerial = 1;
  }
  return v;
}

}  // namespace pel
