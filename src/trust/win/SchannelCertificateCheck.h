#pragma once

#include <string>

#include "ports/TlsChannel.h"
#include "trust/win/SspiHandles.h"

namespace pel {

// Checks the server's certificate ourselves (the credentials ask for manual validation): it
// must chain to a root the system trusts, be in date, and name `host` as the user wrote it.
// kNone when it passes.
TlsFailure CheckServerCertificate(PCCERT_CONTEXT cert, const std::wstring& host);

// The failure a chain's error status stands for (kNone when it names none the check knows;
// the chain policy then judges).
TlsFailure TlsFailureOfChainStatus(DWORD status);

// The failure a chain policy error stands for.
TlsFailure TlsFailureOfPolicyError(DWORD error);

}  // namespace pel
