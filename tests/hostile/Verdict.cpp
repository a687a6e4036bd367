#include "Verdict.h"

#include <cstdarg>
#include <cstdio>
#include <exception>

namespace hostile {

namespace {

constexpr uint64_t kFaultsShown = 30;

std::string& CallText() {
  static std::string text;
  return text;
}
uint64_t g_faults = 0;
uint64_t g_seed = 0;

LONG WINAPI CrashFilter(EXCEPTION_POINTERS* info) {
  const EXCEPTION_RECORD* record = info ? info->ExceptionRecord : nullptr;
  void* address = record ? record->ExceptionAddress : nullptr;
  // Which module the fault is in, and where in it.
  HMODULE module = nullptr;
  char name[MAX_PATH] = "?";
  if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                             GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         static_cast<LPCSTR>(address), &module)) {
    GetModuleFileNameA(module, name, MAX_PATH);
  }
  std::printf("CRASH: exception 0x%08lx at %p (%s+0x%llx), seed %llu, during %s\n",
              record ? record->ExceptionCode : 0ul, address, name,
              static_cast<unsigned long long>(static_cast<const char*>(address) -
                                              reinterpret_cast<const char*>(module)),
              static_cast<unsigned long long>(g_seed), CallText().c_str());
  std::fflush(stdout);
  TerminateProcess(GetCurrentProcess(), 3);
  return EXCEPTION_EXECUTE_HANDLER;
}

void OnTerminate() {
  std::printf("CRASH: std::terminate, seed %llu, during %s\n",
              static_cast<unsigned long long>(g_seed), CallText().c_str());
  std::fflush(stdout);
  TerminateProcess(GetCurrentProcess(), 3);
}

}  // namespace

bool AcceptableHr(HRESULT hr, Surface surface, HRESULT injected) {
  if (hr == S_OK) return true;
  if (SUCCEEDED(hr)) return false;
  if (FAILED(injected) && hr == injected) return true;
  const uint32_t code = static_cast<uint32_t>(hr);
  if (code & 0x78000000u) return false;
  switch (HRESULT_FACILITY(hr)) {
    case FACILITY_NULL:
    case FACILITY_DISPATCH:
    case FACILITY_WIN32:
      return true;
    case FACILITY_STORAGE:
    case FACILITY_ITF:
      return surface == Surface::kPersist;
    default:
      return false;
  }
}

std::string HrText(HRESULT hr) {
  struct Known {
    HRESULT hr;
    const char* name;
  };
  static const Known kKnown[] = {
      {S_OK, "S_OK"},
      {S_FALSE, "S_FALSE"},
      {E_FAIL, "E_FAIL"},
      {E_POINTER, "E_POINTER"},
      {E_NOTIMPL, "E_NOTIMPL"},
      {E_INVALIDARG, "E_INVALIDARG"},
      {E_OUTOFMEMORY, "E_OUTOFMEMORY"},
      {E_UNEXPECTED, "E_UNEXPECTED"},
      {E_NOINTERFACE, "E_NOINTERFACE"},
      {DISP_E_MEMBERNOTFOUND, "DISP_E_MEMBERNOTFOUND"},
      {DISP_E_BADPARAMCOUNT, "DISP_E_BADPARAMCOUNT"},
      {DISP_E_PARAMNOTFOUND, "DISP_E_PARAMNOTFOUND"},
      {DISP_E_TYPEMISMATCH, "DISP_E_TYPEMISMATCH"},
      {DISP_E_NONAMEDARGS, "DISP_E_NONAMEDARGS"},
      {DISP_E_UNKNOWNINTERFACE, "DISP_E_UNKNOWNINTERFACE"},
      {DISP_E_UNKNOWNNAME, "DISP_E_UNKNOWNNAME"},
      {DISP_E_BADINDEX, "DISP_E_BADINDEX"},
      {DISP_E_BADVARTYPE, "DISP_E_BADVARTYPE"},
      {DISP_E_OVERFLOW, "DISP_E_OVERFLOW"},
      {DISP_E_EXCEPTION, "DISP_E_EXCEPTION"},
      {STG_E_READFAULT, "STG_E_READFAULT"},
      {STG_E_WRITEFAULT, "STG_E_WRITEFAULT"},
      {STG_E_MEDIUMFULL, "STG_E_MEDIUMFULL"},
  };
  char text[64];
  for (const Known& k : kKnown) {
    if (k.hr == hr) {
      std::snprintf(text, sizeof(text), "%s (0x%08lx)", k.name, static_cast<unsigned long>(hr));
      return text;
    }
  }
  std::snprintf(text, sizeof(text), "0x%08lx", static_cast<unsigned long>(hr));
  return text;
}

void SetCurrentCall(const std::string& text) { CallText() = text; }
const std::string& CurrentCall() { return CallText(); }

void Fault(const char* format, ...) {
  ++g_faults;
  if (g_faults > kFaultsShown) return;
  char text[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof(text), format, args);
  va_end(args);
  std::printf("FAULT: %s\n       in %s\n", text, CallText().c_str());
  if (g_faults == kFaultsShown) std::printf("(further faults are counted only)\n");
  std::fflush(stdout);
}

uint64_t FaultCount() { return g_faults; }

void InstallCrashReport(uint64_t seed) {
  g_seed = seed;
  SetUnhandledExceptionFilter(CrashFilter);
  std::set_terminate(OnTerminate);
  // No message box or debugger when something fails: the report above is the answer.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
}

}  // namespace hostile
