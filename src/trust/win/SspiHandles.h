#pragma once

// Owners of the security handles a TLS session holds: each frees its handle exactly once.
#ifndef SECURITY_WIN32
#define SECURITY_WIN32
#endif
#include <windows.h>
#include <wincrypt.h>
#include <schannel.h>
#include <security.h>
#include <sspi.h>

namespace pel {

// A credentials handle from AcquireCredentialsHandle.
class CredentialsHandle {
 public:
  CredentialsHandle() { SecInvalidateHandle(&handle_); }
  ~CredentialsHandle() {
    if (valid()) FreeCredentialsHandle(&handle_);
  }
  CredentialsHandle(const CredentialsHandle&) = delete;
  CredentialsHandle& operator=(const CredentialsHandle&) = delete;

  bool valid() const { return SecIsValidHandle(&handle_); }
  CredHandle* get() { return &handle_; }

 private:
  CredHandle handle_;
};

// A security context from InitializeSecurityContext; `get()` answers null until one exists,
// as the first call of the handshake wants.
class SecurityContext {
 public:
  SecurityContext() { SecInvalidateHandle(&handle_); }
  ~SecurityContext() {
    if (valid()) DeleteSecurityContext(&handle_);
  }
  SecurityContext(const SecurityContext&) = delete;
  SecurityContext& operator=(const SecurityContext&) = delete;

  bool valid() const { return SecIsValidHandle(&handle_); }
  CtxtHandle* get() { return valid() ? &handle_ : nullptr; }
  // Where InitializeSecurityContext writes the new context.
  CtxtHandle* out() { return &handle_; }

 private:
  CtxtHandle handle_;
};

// A token the security package allocated (ISC_REQ_ALLOCATE_MEMORY).
class ContextBuffer {
 public:
  explicit ContextBuffer(SecBuffer& buffer) : buffer_(buffer) {}
  ~ContextBuffer() {
    if (buffer_.pvBuffer != nullptr) FreeContextBuffer(buffer_.pvBuffer);
    buffer_.pvBuffer = nullptr;
  }
  ContextBuffer(const ContextBuffer&) = delete;
  ContextBuffer& operator=(const ContextBuffer&) = delete;

 private:
  SecBuffer& buffer_;
};

// A certificate context.
class CertContext {
 public:
  CertContext() = default;
  ~CertContext() {
    if (cert_ != nullptr) CertFreeCertificateContext(cert_);
  }
  CertContext(const CertContext&) = delete;
  CertContext& operator=(const CertContext&) = delete;

  PCCERT_CONTEXT get() const { return cert_; }
  PCCERT_CONTEXT* out() { return &cert_; }

 private:
  PCCERT_CONTEXT cert_ = nullptr;
};

// A certificate chain context.
class ChainContext {
 public:
  ChainContext() = default;
  ~ChainContext() {
    if (chain_ != nullptr) CertFreeCertificateChain(chain_);
  }
  ChainContext(const ChainContext&) = delete;
  ChainContext& operator=(const ChainContext&) = delete;

  PCCERT_CHAIN_CONTEXT get() const { return chain_; }
  PCCERT_CHAIN_CONTEXT* out() { return &chain_; }

 private:
  PCCERT_CHAIN_CONTEXT chain_ = nullptr;
};

}  // namespace pel
