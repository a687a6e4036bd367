#include "serverinfo/ModulePage.h"

#include <algorithm>
#include <cstdio>

namespace pel {

namespace {
// "PTZINSTFLAG" is found without its equals sign; the value is read 12 characters after the
// start of the match, where it follows "PTZINSTFLAG=".
constexpr size_t kPtzInstValueOffset = 12;
}  // namespace

ModulePageValues ParseModulePage(const PageText& page) {
  ModulePageValues v;
  v.iNumCam = page.NumberAfter("NUM_OF_CAM = ", 6);
  v.iVideoFormat = page.NumberAfter("VIDEO_FORMAT = ", 0);
  v.iNumDo = page.NumberAfter("NUM_OF_DO = ", 6);
  if (const std::optional<size_t> at = page.Find("PTZINSTFLAG")) {
    v.dwPtzInstFlag = static_cast<uint32_t>(page.NumberAt(*at + kPtzInstValueOffset));
  }
  v.iPtzFuncOptFlag = page.NumberAfter("PTZFUNCOPTFLAG=", -1);

  // Titles of cameras beyond the sixth have no place in the viewer, so they are not read.
  const int32_t titled = std::min<int32_t>(v.iNumCam, 6);
  for (int32_t n = 0; n < titled; ++n) {
    char key[24];
    std::snprintf(key, sizeof key, "CAMNAME%d=\"", static_cast<int>(n));
    v.titles[static_cast<size_t>(n)] = page.QuotedAfter(key, kMaxCameraTitleChars);
  }
  return v;
}

ModuleRights RightsForModule(const AccessWords& words, int32_t m) {
  ModuleRights r;
  for (int i = 0; i < AccessEntry::kCount; ++i) {
    const AccessEntry entry = AccessEntry::At(words, i);
    if (entry.Module() != m) continue;
    const uint32_t bits = entry.ChannelMask();
    if (entry.View()) r.dwViewRights |= bits;
    if (entry.Ptz()) r.dwPtzRights |= bits;
    if (entry.Relay()) r.dwRelayRights |= bits;
    if (entry.Audio()) r.dwAudioRights |= bits;
  }
  if (std::all_of(words.begin(), words.end(), [](uint32_t w) { return w == 0xFFFFFFFFu; })) {
    r = ModuleRights{0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu};
  }
  return r;
}

}  // namespace pel
