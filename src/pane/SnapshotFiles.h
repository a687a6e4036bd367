#pragma once

#include <string>

#include "ports/SnapshotSystem.h"

namespace pel {

// "YYYYMMDD_HHhMMmSSs_camN.jpg" (or ".bmp") for the local time and camera.
std::string SnapshotFileName(const LocalTime& time, int camera, bool jpeg);

// True when the OS version query succeeds with a major version of 6 or more.
bool IsWindowsVistaOrLater(ISnapshotSystem& system);

// The server tag as a single folder name: characters a Windows name cannot hold (control
// characters and < > : " / \ | ? *) become "-", and so do trailing dots and blanks (which
// Windows drops, so that "." and ".." would name this folder or its parent); a reserved device
// name (CON, NUL, COM1, ...) gets a "-" after it. Empty stays empty.
std::string SnapshotFolderName(const std::string& serverTag);

// The per-user snapshot folder <profile>\AppData\LocalLow\Norvane Works\Pelioran\<tag>, each
// level created when missing; an empty text when the profile folder is unknown or a level
// neither exists nor can be created. A profile path of two characters or less is returned as
// it is. An empty tag adds no level.
std::string GetSnapshotFolder(ISnapshotSystem& system, const std::string& serverTag);

}  // namespace pel
