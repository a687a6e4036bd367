#include "trust/win/SchannelSession.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

#include "ports/Diagnostics.h"
#include "trust/win/SchannelCertificateCheck.h"

namespace pel {

namespace {

constexpr DWORD kContextFlags = ISC_REQ_SEQUENCE_DETECT | ISC_REQ_REPLAY_DETECT |
                                ISC_REQ_CONFIDENTIALITY | ISC_REQ_ALLOCATE_MEMORY |
                                ISC_REQ_STREAM | ISC_REQ_EXTENDED_ERROR |
                                ISC_REQ_MANUAL_CRED_VALIDATION;
constexpr DWORD kModernProtocols = SP_PROT_TLS1_2_CLIENT | SP_PROT_TLS1_3_CLIENT;
// Renegotiation requests (TLS 1.3 session tickets arrive that way) a session follows.
constexpr int kRenegotiationLimit = 4;

std::wstring Widen(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int length = static_cast<int>(text.size());
  std::wstring wide(text.size(), L'\0');
  const int converted = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, &wide[0], length);
  wide.resize(static_cast<size_t>(converted > 0 ? converted : 0));
  return wide;
}

// TLS 1.2 and later; where the provider does not know 1.3 yet, 1.2 alone.
bool AcquireCredentials(CredentialsHandle& credentials) {
  for (const DWORD protocols : {kModernProtocols, static_cast<DWORD>(SP_PROT_TLS1_2_CLIENT)}) {
    SCHANNEL_CRED cred{};
    cred.dwVersion = SCHANNEL_CRED_VERSION;
    cred.grbitEnabledProtocols = protocols;
    cred.dwFlags = SCH_CRED_MANUAL_CRED_VALIDATION | SCH_CRED_NO_DEFAULT_CREDS;
    TimeStamp expiry{};
    const SECURITY_STATUS status = AcquireCredentialsHandleW(
        nullptr, const_cast<wchar_t*>(UNISP_NAME_W), SECPKG_CRED_OUTBOUND, nullptr, &cred,
        nullptr, nullptr, credentials.get(), &expiry);
    if (status == SEC_E_OK) return true;
    ReportDiagnosticF("TLS credentials refused (0x%08lx)", static_cast<unsigned long>(status));
  }
  return false;
}

TlsFailure FailureOfStatus(SECURITY_STATUS status) {
  switch (status) {
    case SEC_E_UNTRUSTED_ROOT:
      return TlsFailure::kUntrusted;
    case SEC_E_CERT_EXPIRED:
      return TlsFailure::kExpired;
    case SEC_E_WRONG_PRINCIPAL:
      return TlsFailure::kWrongName;
    default:
      return TlsFailure::kOther;
  }
}

}  // namespace

SchannelSession::SchannelSession(SocketHandle sock)
    : sock_(std::move(sock)), input_(kTlsInputArea) {}

SchannelSession::~SchannelSession() { SendCloseNotify(); }

void SchannelSession::SendCloseNotify() {
  if (!established_ || closed_ || !sock_.valid()) return;
  DWORD shutdown = SCHANNEL_SHUTDOWN;
  SecBuffer control[1] = {{sizeof shutdown, SECBUFFER_TOKEN, &shutdown}};
  SecBufferDesc controlDesc{SECBUFFER_VERSION, 1, control};
  if (ApplyControlToken(context_.get(), &controlDesc) != SEC_E_OK) return;
  SecBuffer out[1] = {{0, SECBUFFER_TOKEN, nullptr}};
  SecBufferDesc outDesc{SECBUFFER_VERSION, 1, out};
  const ContextBuffer outOwner(out[0]);
  unsigned long attributes = 0;
  const SECURITY_STATUS status = InitializeSecurityContextW(
      credentials_.get(), context_.get(), nullptr, kContextFlags, 0, 0, nullptr, 0, nullptr,
      &outDesc, &attributes, nullptr);
  if (status == SEC_E_OK || status == SEC_I_CONTEXT_EXPIRED) SendToken(out[0]);
}

TlsOpenResult SchannelSession::Open(SocketHandle sock, const std::string& host, int seconds,
                                    sock_clock::time_point deadline) {
  TlsOpenResult result;
  std::unique_ptr<SchannelSession> session(new SchannelSession(std::move(sock)));
  result.failure = session->Handshake(Widen(host), seconds, deadline);
  if (result.failure == TlsFailure::kNone) result.session = std::move(session);
  return result;
}

bool SchannelSession::SendToken(const SecBuffer& token) {
  if (token.cbBuffer == 0 || token.pvBuffer == nullptr) return true;
  return sock_.valid() && sock_send_all(sock_.get(), static_cast<const char*>(token.pvBuffer),
                                        static_cast<int>(token.cbBuffer), 0) >= 0;
}

int SchannelSession::ReceiveMore(int seconds, sock_clock::time_point deadline) {
  if (inputLength_ >= input_.size()) {
    ReportDiagnostic("TLS record larger than the input area");
    return -1;
  }
  const int got = sock_recv_timeout(sock_.ref(), input_.data() + inputLength_,
                                    static_cast<int>(input_.size() - inputLength_), 0, seconds,
                                    deadline);
  if (got > 0) inputLength_ += static_cast<size_t>(got);
  return got;
}

void SchannelSession::KeepExtra(const SecBuffer* buffers, int count) {
  for (int i = 0; i < count; ++i) {
    const SecBuffer& b = buffers[i];
    if (b.BufferType != SECBUFFER_EXTRA) continue;
    const size_t extra = std::min<size_t>(b.cbBuffer, inputLength_);
    // The extra bytes are the tail of what was handed in.
    std::memmove(input_.data(), input_.data() + inputLength_ - extra, extra);
    inputLength_ = extra;
    return;
  }
  inputLength_ = 0;
}

TlsFailure SchannelSession::Handshake(const std::wstring& host, int seconds,
                                      sock_clock::time_point deadline) {
  if (host.empty() || !sock_.valid() || !AcquireCredentials(credentials_)) {
    return TlsFailure::kOther;
  }
  size_t taken = 0;
  bool first = true;
  bool needInput = false;
  for (;;) {
    if (needInput) {
      const int got = ReceiveMore(seconds, deadline);
      if (got <= 0) {
        ReportDiagnostic("TLS handshake: the peer closed, failed or stayed silent");
        return TlsFailure::kOther;
      }
      taken += static_cast<size_t>(got);
      if (taken > kTlsHandshakeLimit) {
        ReportDiagnostic("TLS handshake longer than any sane one");
        return TlsFailure::kOther;
      }
    }
    SecBuffer in[2] = {{static_cast<unsigned long>(inputLength_), SECBUFFER_TOKEN, input_.data()},
                       {0, SECBUFFER_EMPTY, nullptr}};
    SecBufferDesc inDesc{SECBUFFER_VERSION, 2, in};
    SecBuffer out[1] = {{0, SECBUFFER_TOKEN, nullptr}};
    SecBufferDesc outDesc{SECBUFFER_VERSION, 1, out};
    const ContextBuffer outOwner(out[0]);
    unsigned long attributes = 0;
    const SECURITY_STATUS status = InitializeSecurityContextW(
        credentials_.get(), context_.get(), const_cast<wchar_t*>(host.c_str()), kContextFlags, 0,
        0, first ? nullptr : &inDesc, 0, context_.out(), &outDesc, &attributes, nullptr);
    first = false;

    if (status == SEC_E_INCOMPLETE_MESSAGE) {
      needInput = true;
      continue;
    }
    if (status != SEC_E_OK && status != SEC_I_CONTINUE_NEEDED &&
        status != SEC_I_INCOMPLETE_CREDENTIALS) {
      ReportDiagnosticF("TLS handshake failed (0x%08lx)", static_cast<unsigned long>(status));
      return FailureOfStatus(status);
    }
    if (!SendToken(out[0])) return TlsFailure::kOther;
    if (status == SEC_I_INCOMPLETE_CREDENTIALS) {
      // The server asks for a client certificate; the control has none and goes on without.
      needInput = false;
      continue;
    }
    KeepExtra(in, 2);
    if (status == SEC_E_OK) break;
    needInput = inputLength_ == 0;
  }

  SecPkgContext_ConnectionInfo info{};
  if (QueryContextAttributesW(context_.get(), SECPKG_ATTR_CONNECTION_INFO, &info) == SEC_E_OK &&
      (info.dwProtocol & kModernProtocols) == 0) {
    ReportDiagnosticF("TLS protocol 0x%lx refused", static_cast<unsigned long>(info.dwProtocol));
    return TlsFailure::kOther;
  }
  if (QueryContextAttributesW(context_.get(), SECPKG_ATTR_STREAM_SIZES, &sizes_) != SEC_E_OK ||
      sizes_.cbMaximumMessage == 0 ||
      sizes_.cbHeader + sizes_.cbMaximumMessage + sizes_.cbTrailer > kTlsInputArea) {
    return TlsFailure::kOther;
  }
  CertContext cert;
  if (QueryContextAttributesW(context_.get(), SECPKG_ATTR_REMOTE_CERT_CONTEXT, cert.out()) !=
          SEC_E_OK ||
      cert.get() == nullptr) {
    ReportDiagnostic("TLS peer sent no certificate");
    return TlsFailure::kOther;
  }
  const TlsFailure failure = CheckServerCertificate(cert.get(), host);
  established_ = failure == TlsFailure::kNone;
  return failure;
}

int SchannelSession::Send(const char* data, int length) {
  if (length < 1) return length;
  if (data == nullptr || !sock_.valid()) return -1;
  std::vector<char> record(sizes_.cbHeader + sizes_.cbMaximumMessage + sizes_.cbTrailer);
  int sent = 0;
  while (sent < length) {
    const unsigned long piece =
        std::min<unsigned long>(sizes_.cbMaximumMessage, static_cast<unsigned long>(length - sent));
    std::memcpy(record.data() + sizes_.cbHeader, data + sent, piece);
    SecBuffer buffers[4] = {
        {sizes_.cbHeader, SECBUFFER_STREAM_HEADER, record.data()},
        {piece, SECBUFFER_DATA, record.data() + sizes_.cbHeader},
        {sizes_.cbTrailer, SECBUFFER_STREAM_TRAILER, record.data() + sizes_.cbHeader + piece},
        {0, SECBUFFER_EMPTY, nullptr}};
    SecBufferDesc desc{SECBUFFER_VERSION, 4, buffers};
    const SECURITY_STATUS status = EncryptMessage(context_.get(), 0, &desc, 0);
    if (status != SEC_E_OK) {
      ReportDiagnosticF("TLS encrypt failed (0x%08lx)", static_cast<unsigned long>(status));
      return -1;
    }
    const unsigned long total = buffers[0].cbBuffer + buffers[1].cbBuffer + buffers[2].cbBuffer;
    if (sock_send_all(sock_.get(), record.data(), static_cast<int>(total), 0) < 0) return -1;
    sent += static_cast<int>(piece);
  }
  return length;
}

int SchannelSession::TakePlain(char* buffer, int length) {
  const size_t count = std::min(plain_.size() - plainOffset_, static_cast<size_t>(length));
  std::memcpy(buffer, plain_.data() + plainOffset_, count);
  plainOffset_ += count;
  return static_cast<int>(count);
}

int SchannelSession::Recv(char* buffer, int length, int seconds,
                          sock_clock::time_point deadline) {
  if (buffer == nullptr || length < 0) return -1;
  if (length == 0) return 0;
  int renegotiations = 0;
  for (;;) {
    if (plainOffset_ < plain_.size()) return TakePlain(buffer, length);
    if (closed_) return 0;
    if (inputLength_ > 0) {
      SecBuffer buffers[4] = {
          {static_cast<unsigned long>(inputLength_), SECBUFFER_DATA, input_.data()},
          {0, SECBUFFER_EMPTY, nullptr},
          {0, SECBUFFER_EMPTY, nullptr},
          {0, SECBUFFER_EMPTY, nullptr}};
      SecBufferDesc desc{SECBUFFER_VERSION, 4, buffers};
      const SECURITY_STATUS status = DecryptMessage(context_.get(), &desc, 0, nullptr);
      if (status == SEC_E_OK || status == SEC_I_RENEGOTIATE) {
        // The data is decrypted in place; take it out before the extra bytes move up.
        plain_.clear();
        plainOffset_ = 0;
        for (const SecBuffer& b : buffers) {
          if (b.BufferType == SECBUFFER_DATA && b.pvBuffer != nullptr) {
            const char* start = static_cast<const char*>(b.pvBuffer);
            plain_.assign(start, start + b.cbBuffer);
          }
        }
        KeepExtra(buffers, 4);
        if (status == SEC_I_RENEGOTIATE) {
          if (++renegotiations > kRenegotiationLimit) return -1;
          SecBuffer in[2] = {
              {static_cast<unsigned long>(inputLength_), SECBUFFER_TOKEN, input_.data()},
              {0, SECBUFFER_EMPTY, nullptr}};
          SecBufferDesc inDesc{SECBUFFER_VERSION, 2, in};
          SecBuffer out[1] = {{0, SECBUFFER_TOKEN, nullptr}};
          SecBufferDesc outDesc{SECBUFFER_VERSION, 1, out};
          const ContextBuffer outOwner(out[0]);
          unsigned long attributes = 0;
          const SECURITY_STATUS again = InitializeSecurityContextW(
              credentials_.get(), context_.get(), nullptr, kContextFlags, 0, 0, &inDesc, 0,
              nullptr, &outDesc, &attributes, nullptr);
          if (again != SEC_E_OK && again != SEC_I_CONTINUE_NEEDED) return -1;
          if (!SendToken(out[0])) return -1;
          KeepExtra(in, 2);
        }
        continue;
      }
      if (status == SEC_I_CONTEXT_EXPIRED) {
        closed_ = true;  // the peer's close_notify
        return 0;
      }
      if (status != SEC_E_INCOMPLETE_MESSAGE) {
        ReportDiagnosticF("TLS decrypt failed (0x%08lx)", static_cast<unsigned long>(status));
        return -1;
      }
    }
    const int got = ReceiveMore(seconds, deadline);
    if (got < 0) return -1;
    if (got == 0) {
      closed_ = true;
      return 0;
    }
  }
}

}  // namespace pel
