// What a report says of a window: its class, its text, its place in a parent.
#pragma once
#include <windows.h>

#include <string>

namespace hostkit {

std::wstring ClassOf(HWND window);
std::wstring TextOf(HWND window);
// "X,Y,W,H" relative to parent's client area.
std::string PlaceIn(HWND window, HWND parent);
// The first descendant of `root` (parents before their children) with control ID `id`, or null.
HWND Descendant(HWND root, int id);

}  // namespace hostkit
