#pragma once

#include <windows.h>
#include <ocidl.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pel::wintest {

// A file beside the test program (the build's bin/ folder).
std::wstring BinPath(const std::wstring& file);

// Runs a program to its end: its exit code, or -1 when it cannot be started.
int RunProgram(const std::wstring& commandLine);
// regsvr32 /s (with /u to unregister) of `dll`: regsvr32's exit code, 0 on success. A 32-bit
// test program runs the 32-bit regsvr32.
int Regsvr32(const std::wstring& dll, bool unregister);

std::optional<std::wstring> RegValue(HKEY root, const std::wstring& key,
                                     const std::wstring& name = L"");
bool RegKeyExists(HKEY root, const std::wstring& key);

// Creates a class straight from a DLL's DllGetClassObject (the DLL stays loaded).
HRESULT CreateFromDll(const std::wstring& dll, REFCLSID clsid, REFIID iid, void** out);
HRESULT ClassFactoryFromDll(const std::wstring& dll, REFCLSID clsid, IClassFactory** out);
// DllCanUnloadNow of a loaded DLL.
HRESULT CanUnloadNow(const std::wstring& dll);

// Property put and get by DISPID through IDispatch::Invoke.
HRESULT PutProperty(IDispatch* dispatch, DISPID id, const VARIANT& value);
HRESULT GetProperty(IDispatch* dispatch, DISPID id, VARIANT* value);
// A method call with arguments in declaration order.
HRESULT CallMethod(IDispatch* dispatch, DISPID id, std::vector<VARIANT> args, VARIANT* result);

VARIANT TextVariant(const wchar_t* text);  // caller clears it
VARIANT LongVariant(LONG value);
VARIANT BoolVariant(bool value);

// A Windows path for a file in the temporary folder, unique to this process.
std::wstring TempFile(const std::wstring& name);
std::string ReadFileBytes(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes);

// A dialog template (DLGTEMPLATE, not the extended form) as the tests read it.
struct DialogItem {
  DWORD style = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  WORD id = 0;
  std::wstring className;  // "#0080" style for predefined classes: Button, Edit, Static...
  std::wstring text;       // "#<n>" for an ordinal
};
struct DialogTemplate {
  DWORD style = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  std::wstring caption;
  WORD pointSize = 0;
  std::wstring font;
  std::vector<DialogItem> items;
};
std::optional<DialogTemplate> LoadDialogTemplate(HMODULE module, int id);

}  // namespace pel::wintest
