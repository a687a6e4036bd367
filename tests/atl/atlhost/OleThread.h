// COM and OLE for the calling thread, for as long as the object lives.
#pragma once
#include <windows.h>
#include <ole2.h>

class OleThread {
 public:
  OleThread() : hr_(OleInitialize(nullptr)) {}
  OleThread(const OleThread&) = delete;
  OleThread& operator=(const OleThread&) = delete;
  ~OleThread() {
    if (SUCCEEDED(hr_)) OleUninitialize();
  }
  HRESULT Result() const { return hr_; }

 private:
  HRESULT hr_;
};
