#include "trust/win/AllowedSitesPolicy.h"

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "com/RegKey.h"
#include "trust/win/PolicyPlaces.h"

namespace pel::win {

namespace {
constexpr const wchar_t* kValueName = L"AllowedSites";
// The setting's units and the NULs that end a REG_MULTI_SZ.
constexpr DWORD kMaxValueBytes = static_cast<DWORD>((kMaxSettingUnits + 2) * sizeof(char16_t));

// The strings of a REG_MULTI_SZ, up to the empty one that ends the list.
std::vector<std::u16string> MultiStrings(std::u16string_view units) {
  std::vector<std::u16string> entries;
  while (!units.empty()) {
    const std::size_t end = units.find(u'\0');
    const std::u16string_view entry = units.substr(0, end);
    if (entry.empty()) break;
    entries.emplace_back(entry);
    if (end == std::u16string_view::npos) break;
    units.remove_prefix(end + 1);
  }
  return entries;
}

AllowedSites ParseValue(DWORD type, std::u16string_view units) {
  if (type == REG_MULTI_SZ) return ParseAllowedSites(MultiStrings(units));
  if (type == REG_SZ || type == REG_EXPAND_SZ) {
    return ParseAllowedSites(units.substr(0, units.find(u'\0')));
  }
  return AllowedSites{};
}

// Nothing when this place does not hold the value.
std::optional<AllowedSites> ReadAt(const PolicyPlace& place) {
  com::RegKey key;
  const LONG opened = key.Open(place.root, place.path, KEY_QUERY_VALUE);
  if (opened == ERROR_FILE_NOT_FOUND) return std::nullopt;
  if (opened != ERROR_SUCCESS) return AllowedSites{};
  DWORD type = 0;
  DWORD size = 0;
  LONG read = RegQueryValueExW(key.Get(), kValueName, nullptr, &type, nullptr, &size);
  if (read == ERROR_FILE_NOT_FOUND) return std::nullopt;
  if (read != ERROR_SUCCESS || size > kMaxValueBytes) return AllowedSites{};
  std::vector<char16_t> units(size / sizeof(char16_t) + 1, u'\0');
  DWORD got = static_cast<DWORD>(units.size() * sizeof(char16_t));
  read = RegQueryValueExW(key.Get(), kValueName, nullptr, &type,
                          reinterpret_cast<BYTE*>(units.data()), &got);
  if (read != ERROR_SUCCESS || got > size) return AllowedSites{};
  return ParseValue(type, std::u16string_view(units.data(), got / sizeof(char16_t)));
}
}  // namespace

std::optional<AllowedSites> ReadAllowedSitesPolicy() {
  for (const PolicyPlace& place : kPolicyPlaces) {
    if (std::optional<AllowedSites> sites = ReadAt(place)) return sites;
  }
  return std::nullopt;
}

}  // namespace pel::win
