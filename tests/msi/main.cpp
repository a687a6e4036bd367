// msicheck: what the installer test asks of Windows, from inside the prefix.
//   msicheck create machine|user <expected module path>
//       creates the control by its ProgID through the machine's or the user's class entries
//       and reads its type information (see ControlCheck.h)
//   msicheck dump <file>
//       writes the registry entries of the control and of Windows Installer to <file>
//   msicheck hold
//       runs until its standard input ends: while one Wine program runs, the prefix's
//       wineserver stays, and each step of the test does not pay for starting it anew
// Exit status: 0 when everything holds, 1 otherwise, 2 for a usage error.

#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <string>

#include "ControlCheck.h"
#include "RegistryDump.h"

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (command == L"dump" && argc == 3) return pel::msicheck::DumpRegistry(argv[2]) ? 0 : 1;
  if (command == L"hold" && argc == 2) {
    char buffer[64];
    DWORD read = 0;
    while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof(buffer), &read, nullptr) &&
           read > 0) {
    }
    return 0;
  }
  if (command == L"create" && argc == 4) {
    const std::wstring where = argv[2];
    if (where != L"machine" && where != L"user") return 2;
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    const bool ok = pel::msicheck::CheckControl(
        where == L"machine" ? pel::msicheck::Classes::kMachine : pel::msicheck::Classes::kUser,
        argv[3]);
    CoUninitialize();
    return ok ? 0 : 1;
  }
  std::fprintf(stderr, "usage: msicheck create machine|user PATH | dump FILE | hold\n");
  return 2;
}
