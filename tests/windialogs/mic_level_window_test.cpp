// The MIC slider of the Audio Connection window over Wine's mixers (pulseaudio's devices,
// windialogs.sh): it starts at the capture line's level and moving it sets that level, both
// read through winmm as any mixer program would, from the mixer of the input device that the
// recorder captures from.
#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include "DialogRig.h"

namespace pel::wintest {
namespace {

constexpr const char* kTitle = "Audio Connection";
constexpr int kMic = 211;

// The volume of the wave-input line of input device 0 (the mapper's default under Wine): the
// level the capture runs at. Under Wine the line's source has a volume control that keeps
// nothing; the line's own is the device's.
class CaptureLineVolume {
 public:
  CaptureLineVolume() {
    UINT id = 0;
    if (mixerGetID(reinterpret_cast<HMIXEROBJ>(UINT_PTR{0}), &id, MIXER_OBJECTF_WAVEIN) !=
            MMSYSERR_NOERROR ||
        mixerOpen(&mixer_, id, 0, 0, MIXER_OBJECTF_MIXER) != MMSYSERR_NOERROR) {
      return;
    }
    MIXERLINEA line{};
    line.cbStruct = sizeof line;
    line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_WAVEIN;
    MIXERCONTROLA control{};
    control.cbStruct = sizeof control;
    MIXERLINECONTROLSA query{};
    query.cbStruct = sizeof query;
    query.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
    query.cControls = 1;
    query.cbmxctrl = sizeof control;
    query.pamxctrl = &control;
    if (mixerGetLineInfoA(Object(), &line,
                          MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE) !=
        MMSYSERR_NOERROR) {
      return;
    }
    query.dwLineID = line.dwLineID;
    if (mixerGetLineControlsA(Object(), &query,
                              MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE) ==
        MMSYSERR_NOERROR) {
      control_ = control.dwControlID;
      found_ = true;
    }
  }
  ~CaptureLineVolume() {
    if (mixer_) mixerClose(mixer_);
  }
  CaptureLineVolume(const CaptureLineVolume&) = delete;
  CaptureLineVolume& operator=(const CaptureLineVolume&) = delete;

  bool found() const { return found_; }
  // -1 when it cannot be read.
  long Get() {
    MIXERCONTROLDETAILS_UNSIGNED value{0xFFFFFFFF};
    MIXERCONTROLDETAILS details = Details(value);
    if (mixerGetControlDetailsA(Object(), &details,
                                MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE) !=
        MMSYSERR_NOERROR) {
      return -1;
    }
    return static_cast<long>(value.dwValue);
  }
  bool Set(DWORD level) {
    MIXERCONTROLDETAILS_UNSIGNED value{level};
    MIXERCONTROLDETAILS details = Details(value);
    return mixerSetControlDetails(Object(), &details,
                                  MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE) ==
           MMSYSERR_NOERROR;
  }

 private:
  HMIXEROBJ Object() const { return reinterpret_cast<HMIXEROBJ>(mixer_); }
  MIXERCONTROLDETAILS Details(MIXERCONTROLDETAILS_UNSIGNED& value) const {
    MIXERCONTROLDETAILS details{};
    details.cbStruct = sizeof details;
    details.dwControlID = control_;
    details.cChannels = 1;  // one value for every channel
    details.cbDetails = sizeof value;
    details.paDetails = &value;
    return details;
  }

  HMIXER mixer_ = nullptr;
  DWORD control_ = 0;
  bool found_ = false;
};

TEST(MicLevelWindow, TheSliderStartsAtAndSetsTheCaptureLinesVolume) {
  CaptureLineVolume capture;
  ASSERT_TRUE(capture.found()) << "no wave-input line: no sound server?";
  // A level no other line holds (the outputs stay at full volume).
  constexpr long kStart = 40000;
  ASSERT_TRUE(capture.Set(kStart));
  PaneRig rig;
  AudioDialogFields fields;
  fields.serverAddress = "127.0.0.1";
  fields.udpPort = 32001;
  fields.deviceType = 2;
  rig.dialogs.OpenAudioConnection(fields);
  HWND dialog = FindDialog(kTitle);
  ASSERT_NE(dialog, nullptr);
  HWND mic = GetDlgItem(dialog, kMic);
  // The system keeps the level as a fraction: a unit either way.
  EXPECT_NEAR(SendMessageA(mic, TBM_GETPOS, 0, 0), kStart, 1);

  RECT thumb;
  SendMessageA(mic, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  const int x = (thumb.left + thumb.right) / 2, y = (thumb.top + thumb.bottom) / 2;
  SendMessageA(mic, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  SendMessageA(mic, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x - 30, y));
  const long dragged = static_cast<long>(SendMessageA(mic, TBM_GETPOS, 0, 0));
  ASSERT_LT(dragged, kStart - 1000);
  EXPECT_NEAR(capture.Get(), kStart, 1) << "not while dragging";
  SendMessageA(mic, WM_LBUTTONUP, 0, MAKELPARAM(x - 30, y));
  EXPECT_NEAR(capture.Get(), dragged, 1);

  EXPECT_TRUE(PressEscape(dialog));
  EXPECT_TRUE(capture.Set(0xFFFF));
}

}  // namespace
}  // namespace pel::wintest
