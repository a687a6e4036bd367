#pragma once

#include <string>

namespace pel::msicheck {

// Where a container looks the control up.
enum class Classes {
  kMachine,  // COM itself: CLSIDFromProgID, CoCreateInstance, LoadRegTypeLib
  kUser,     // the entries below HKEY_CURRENT_USER\Software\Classes, followed here step by
             // step (Wine's COM reads the machine's classes only)
};

// Creates the control through its ProgID and reads its type information and the registered
// type library, as a page's script and a container's property browser would. Prints one
// line per finding; true when every one holds and the control came from `expectedModule`.
bool CheckControl(Classes classes, const std::wstring& expectedModule);

}  // namespace pel::msicheck
