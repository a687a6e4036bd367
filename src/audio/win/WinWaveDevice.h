#pragma once

#include <windows.h>
#include <mmsystem.h>

#include "audio/win/WaveHeaderTable.h"
#include "audio/win/WinNotificationWindow.h"
#include "ports/WaveDevices.h"

namespace pel::win {

// The system's calls for one kind of device.
struct WaveInCalls {
  using Handle = HWAVEIN;
  static MMRESULT Prepare(HWAVEIN h, WAVEHDR* w) { return waveInPrepareHeader(h, w, sizeof *w); }
  static MMRESULT Unprepare(HWAVEIN h, WAVEHDR* w) {
    return waveInUnprepareHeader(h, w, sizeof *w);
  }
  static MMRESULT Reset(HWAVEIN h) { return waveInReset(h); }
  static MMRESULT Close(HWAVEIN h) { return waveInClose(h); }
};

struct WaveOutCalls {
  using Handle = HWAVEOUT;
  static MMRESULT Prepare(HWAVEOUT h, WAVEHDR* w) {
    return waveOutPrepareHeader(h, w, sizeof *w);
  }
  static MMRESULT Unprepare(HWAVEOUT h, WAVEHDR* w) {
    return waveOutUnprepareHeader(h, w, sizeof *w);
  }
  static MMRESULT Reset(HWAVEOUT h) { return waveOutReset(h); }
  static MMRESULT Close(HWAVEOUT h) { return waveOutClose(h); }
};

// An open device of either kind, opened with window notification to `window`. The results
// are the system's own. Once closed, every call answers MMSYSERR_INVALHANDLE.
template <class Calls, class Interface>
class WinWaveDevice : public Interface, private IWaveHeaderOwner {
 public:
  using Handle = typename Calls::Handle;

  WinWaveDevice(Handle handle, WinNotificationWindow& window)
      : handle_(handle), window_(&window) {
    window.Attach(*this);
  }
  // A device still open is reset, its blocks unprepared and one close tried.
  ~WinWaveDevice() override {
    if (window_ != nullptr) window_->Detach(*this);
    if (handle_ == nullptr) return;
    Calls::Reset(handle_);
    headers_.ForEachClaimed([this](WAVEHDR& header, WaveBlock& block) {
      Calls::Unprepare(handle_, &header);
      CopyBack(header, block);
    });
    Calls::Close(handle_);
  }
  WinWaveDevice(const WinWaveDevice&) = delete;
  WinWaveDevice& operator=(const WinWaveDevice&) = delete;

  int Prepare(WaveBlock& block) override {
    const bool fresh = headers_.Find(block) == nullptr;
    WAVEHDR* header = headers_.Claim(block);
    if (header == nullptr) return MMSYSERR_NOMEM;
    const MMRESULT result = Calls::Prepare(handle_, header);
    CopyBack(*header, block);
    if (result != MMSYSERR_NOERROR && fresh) headers_.Release(header);
    return static_cast<int>(result);
  }

  int Unprepare(WaveBlock& block) override {
    WAVEHDR* header = headers_.Find(block);
    // Like the system: a block that is not prepared is no error.
    if (header == nullptr) {
      block.flags &= ~static_cast<uint32_t>(WHDR_PREPARED);
      return MMSYSERR_NOERROR;
    }
    const MMRESULT result = Calls::Unprepare(handle_, header);
    CopyBack(*header, block);
    if (result == MMSYSERR_NOERROR) headers_.Release(header);
    return static_cast<int>(result);
  }

  int Reset() override { return static_cast<int>(Calls::Reset(handle_)); }

  int Close() override {
    const MMRESULT result = Calls::Close(handle_);
    if (result == MMSYSERR_NOERROR) handle_ = nullptr;
    return static_cast<int>(result);
  }

 protected:
  Handle handle() const { return handle_; }
  // The header of a prepared block, or null.
  WAVEHDR* HeaderOf(const WaveBlock& block) { return headers_.Find(block); }

 private:
  WaveBlock* TakeReturned(WPARAM device, LPARAM header) override {
    // Notifications of an earlier handle, or of one already closed, name nothing here.
    if (handle_ == nullptr || device != reinterpret_cast<WPARAM>(handle_)) return nullptr;
    WaveBlock* block = headers_.BlockOf(reinterpret_cast<const void*>(header));
    if (block != nullptr) CopyBack(*reinterpret_cast<const WAVEHDR*>(header), *block);
    return block;
  }
  void WindowGone() override { window_ = nullptr; }

  Handle handle_;
  WinNotificationWindow* window_;
  WaveHeaderTable headers_;
};

class WinWaveInDevice final : public WinWaveDevice<WaveInCalls, IWaveInDevice> {
 public:
  using WinWaveDevice::WinWaveDevice;
  int Add(WaveBlock& block) override;
  int Start() override;
  int Stop() override;
};

class WinWaveOutDevice final : public WinWaveDevice<WaveOutCalls, IWaveOutDevice> {
 public:
  using WinWaveDevice::WinWaveDevice;
  // Called on the receive thread: the block's flags are copied back only when it returns.
  int Write(WaveBlock& block) override;
  int Pause() override;
};

}  // namespace pel::win
