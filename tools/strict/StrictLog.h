#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <vector>

namespace strict {

// The call log the tests read, appended to the file named by PEL_STANDIN_LOG (nothing without
// it), one line per call, event or fact:
//   component <TAB> id <TAB> name <TAB> kind <TAB> value <TAB> vartypes
// The first five columns mean what they mean in the stand-ins' log; vartypes are the
// arguments' VARTYPEs in decimal joined by ",".
void LogLine(const char* component, long id, const std::wstring& name, const char* kind,
             const std::string& value, const std::string& vartypes = {});

// A value as the log writes it: TRUE/FALSE, decimals, doubles as %g, texts in the ANSI code
// page with tab, line breaks and backslash escaped, "<N bytes>" for a byte array; what a
// VT_VARIANT|VT_BYREF points to.
std::string ValueText(const VARIANT& value);
// Arguments in their declared order, joined by ",".
std::string ArgsText(const std::vector<VARIANT*>& args);
std::string VarTypesText(const std::vector<VARIANT*>& args);
// 0x%08X.
std::string HresultText(HRESULT hr);
// l,t,r,b.
std::string RectText(const RECT& rect);

}  // namespace strict
