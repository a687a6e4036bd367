#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace hostile {

// Which surface answered: the dispatch interface, or the persistence interfaces (whose
// failures may also come from the storage the driver handed over).
enum class Surface { kDispatch, kPersist };

// The answers a caller of the control can handle: S_OK, or a failure code built the way COM
// builds them (severity set; the reserved, customer, NTSTATUS-mapping and extra bits clear)
// whose facility is FACILITY_NULL (E_FAIL, E_POINTER, E_NOTIMPL...), FACILITY_DISPATCH
// (DISP_E_*, TYPE_E_*) or FACILITY_WIN32 (E_INVALIDARG, E_OUTOFMEMORY...); for persistence
// also FACILITY_STORAGE (STG_E_*) and FACILITY_ITF (OLE_E_*, CO_E_* live there), and the
// failure the driver's own storage injected. Any other success code, and anything shaped
// like an exception code (0xC...), is wrong.
bool AcceptableHr(HRESULT hr, Surface surface, HRESULT injected = S_OK);

std::string HrText(HRESULT hr);

// The call in progress, kept so that a fault or a crash names it.
void SetCurrentCall(const std::string& text);
const std::string& CurrentCall();

// Records a fault of the control: printed (the first few in full) and counted.
void Fault(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));
uint64_t FaultCount();

// Turns a crash into a report naming the seed and the call, and a non-zero exit.
void InstallCrashReport(uint64_t seed);

}  // namespace hostile
