#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <vector>

namespace pel::standin {

// The call log the tests read: one line per call a stand-in receives (and per event it
// fires), appended to the file named by PEL_STANDIN_LOG (no log without it):
//   component <TAB> dispid <TAB> name <TAB> kind <TAB> value
// kind is put, get, call or event; value is the value put or got, a call's arguments joined
// by "," (then " -> " and its result when it has one), or an event's arguments.
void LogCall(const char* component, DISPID id, const std::wstring& name, const char* kind,
             const std::string& value);

// A value as the log writes it (com::VariantText); arguments joined by ",".
std::string LogText(const VARIANT& value);
std::string LogText(const std::vector<VARIANT*>& args);

}  // namespace pel::standin
