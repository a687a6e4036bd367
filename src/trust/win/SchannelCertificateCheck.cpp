#include "trust/win/SchannelCertificateCheck.h"

#include "ports/Diagnostics.h"

namespace pel {

TlsFailure TlsFailureOfPolicyError(DWORD error) {
  switch (static_cast<HRESULT>(error)) {
    case S_OK:
      return TlsFailure::kNone;
    case CERT_E_UNTRUSTEDROOT:
    case CERT_E_UNTRUSTEDTESTROOT:
    case CERT_E_CHAINING:
    case CERT_E_UNTRUSTEDCA:
    case TRUST_E_CERT_SIGNATURE:
    case TRUST_E_BASIC_CONSTRAINTS:
    case TRUST_E_NOSIGNATURE:
    case TRUST_E_EXPLICIT_DISTRUST:
    case TRUST_E_FAIL:
      return TlsFailure::kUntrusted;
    case CERT_E_EXPIRED:
    case CERT_E_VALIDITYPERIODNESTING:
      return TlsFailure::kExpired;
    case CERT_E_CN_NO_MATCH:
      return TlsFailure::kWrongName;
    default:
      return TlsFailure::kOther;
  }
}

TlsFailure TlsFailureOfChainStatus(DWORD status) {
  constexpr DWORD kUntrusted = CERT_TRUST_IS_PARTIAL_CHAIN | CERT_TRUST_IS_UNTRUSTED_ROOT |
                               CERT_TRUST_IS_NOT_SIGNATURE_VALID | CERT_TRUST_IS_CYCLIC |
                               CERT_TRUST_INVALID_BASIC_CONSTRAINTS |
                               CERT_TRUST_IS_EXPLICIT_DISTRUST;
  if ((status & kUntrusted) != 0) return TlsFailure::kUntrusted;
  if ((status & CERT_TRUST_IS_NOT_TIME_VALID) != 0) return TlsFailure::kExpired;
  return TlsFailure::kNone;
}

TlsFailure CheckServerCertificate(PCCERT_CONTEXT cert, const std::wstring& host) {
  if (cert == nullptr || host.empty()) return TlsFailure::kOther;

  // The chain is built for server authentication, with the certificates the server sent.
  LPSTR usages[] = {const_cast<LPSTR>(szOID_PKIX_KP_SERVER_AUTH)};
  CERT_CHAIN_PARA chainPara{};
  chainPara.cbSize = sizeof chainPara;
  chainPara.RequestedUsage.dwType = USAGE_MATCH_TYPE_OR;
  chainPara.RequestedUsage.Usage.cUsageIdentifier = 1;
  chainPara.RequestedUsage.Usage.rgpszUsageIdentifier = usages;
  ChainContext chain;
  if (!CertGetCertificateChain(nullptr, cert, nullptr, cert->hCertStore, &chainPara, 0, nullptr,
                               chain.out()) ||
      chain.get() == nullptr) {
    ReportDiagnosticF("certificate chain not built (error %lu)", GetLastError());
    return TlsFailure::kOther;
  }

  // The chain's own verdict first: not every provider's SSL policy reports a chain that ends
  // short of any trusted root.
  const TlsFailure chainFailure = TlsFailureOfChainStatus(chain.get()->TrustStatus.dwErrorStatus);
  if (chainFailure != TlsFailure::kNone) {
    ReportDiagnosticF("certificate chain refused (status 0x%08lx)",
                      static_cast<unsigned long>(chain.get()->TrustStatus.dwErrorStatus));
    return chainFailure;
  }

  SSL_EXTRA_CERT_CHAIN_POLICY_PARA ssl{};
  ssl.cbSize = sizeof ssl;
  ssl.dwAuthType = AUTHTYPE_SERVER;
  ssl.fdwChecks = 0;
  ssl.pwszServerName = const_cast<wchar_t*>(host.c_str());
  CERT_CHAIN_POLICY_PARA policy{};
  policy.cbSize = sizeof policy;
  policy.pvExtraPolicyPara = &ssl;
  CERT_CHAIN_POLICY_STATUS status{};
  status.cbSize = sizeof status;
  if (!CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, chain.get(), &policy, &status)) {
    ReportDiagnosticF("certificate policy not checked (error %lu)", GetLastError());
    return TlsFailure::kOther;
  }
  if (status.dwError != 0) {
    ReportDiagnosticF("certificate refused (0x%08lx)", static_cast<unsigned long>(status.dwError));
  }
  return TlsFailureOfPolicyError(status.dwError);
}

}  // namespace pel
