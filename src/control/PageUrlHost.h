#pragma once

#include <cstddef>
#include <string>

#include "ports/HostBrowser.h"

namespace pel {

// How many characters of the hosting page's URL are looked at.
constexpr std::size_t kPageUrlChars = 127;

// The host text of the hosting page's URL: the characters after "http://" (exact case) up to
// the first "/" or the end, at most `maxChars` of them. Only the low byte of each UTF-16 unit
// and only the first kPageUrlChars units count, and the URL ends at its first NUL byte.
// 1 for an "http://" URL (the host text may then be empty), 0 otherwise or without a browser.
// Given `overTls`, an "https://" URL (exact case too) answers 1 as well, and `overTls` tells
// which of the two the page came over.
int GetHostFromPageUrl(IHostBrowser* browser, std::string& host, std::size_t maxChars,
                       bool* overTls = nullptr);

}  // namespace pel
