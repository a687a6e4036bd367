// The Audio Connection window over Wine's wave devices (pulseaudio's null sink, whose monitor
// hears a tone, windialogs.sh) against kvsim's UDP audio side: the captured tone sent as Jes
// packets in modes 1, 2 and 9, the server's audio played in UDP receive mode, the logout, and
// the messages of a refused and of an unanswered login.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "DialogRig.h"
#include "SentTone.h"
#include "audio/dialogs/AudioConnectionDlg.h"
#include "audio/win/WinWaveDevices.h"
#include "pane/win/dialogs/DialogHandlers.h"
#include "support/AudioWire.h"
#include "support/Kvsim.h"

namespace pel::wintest {
namespace {

constexpr const char* kTitle = "Audio Connection";
constexpr int kConnect = 245, kDisconnect = 246, kUdp = 250, kStatus = 213;

AudioDialogFields Fields(int port, int mode) {
  AudioDialogFields f;
  f.serverAddress = "127.0.0.1";
  f.udpPort = port;
  f.deviceType = mode;
  f.user = "root";
  return f;
}

// Pumps until kvsim's last datagram is the logout; all datagrams.
std::vector<std::string> UntilLogout(const test::KvsimScenario& kv) {
  std::vector<std::string> got;
  Pump(5000, [&] {
    got = kv.datagrams();
    return !got.empty() && got.back() == test::WireRecord(3, 0);
  });
  return got;
}

TEST(AudioWindow, EachModeSendsTheCapturedToneUntilTheLogout) {
  const struct {
    int mode;
    size_t packet;
    size_t samples;  // of one channel
  } modes[] = {{1, 3132, 4096}, {2, 1460, 1400}, {9, 2172, 4096}};
  for (const auto& m : modes) {
    SCOPED_TRACE(m.mode);
    test::KvsimScenario kv(test::UdpSection(""));
    PaneRig rig;
    rig.dialogs.OpenAudioConnection(Fields(kv.udpPort(), m.mode));
    HWND dialog = FindDialog(kTitle);
    ASSERT_NE(dialog, nullptr);
    Click(dialog, kConnect);
    EXPECT_EQ(ItemText(dialog, kStatus), "Connected");
    EXPECT_FALSE(ItemEnabled(dialog, kConnect));
    EXPECT_TRUE(Pump(10000, [&] { return kv.datagrams().size() >= 3; })) << "two packets";
    Click(dialog, kDisconnect);
    EXPECT_EQ(ItemText(dialog, kStatus), "Disconnected");
    EXPECT_TRUE(ItemEnabled(dialog, kConnect));

    const std::vector<std::string> got = UntilLogout(kv);
    ASSERT_GE(got.size(), 4u);
    EXPECT_EQ(got.front(), test::WireLogin("root", ""));
    // Every packet plays as the captured tone, and each one carries the block after the one
    // before: none sent twice, none left out.
    SentAudio sent(m.mode);
    double phase = 0;
    for (size_t i = 1; i + 1 < got.size(); ++i) {
      SCOPED_TRACE(i);
      ASSERT_EQ(got[i].size(), m.packet);
      EXPECT_EQ(got[i].substr(0, 60), test::WireJesHeader(m.mode, 0, static_cast<uint32_t>(m.packet)));
      const std::vector<double> played = sent.Decode(got[i].substr(60));
      ASSERT_EQ(played.size(), m.samples);
      const ToneFit tone = FitTone(played);
      EXPECT_NEAR(tone.amplitude, kToneAmplitude, kToneAmplitude * 0.05);
      EXPECT_LT(tone.residual, kToneAmplitude * 0.1);
      if (i > 1) {
        EXPECT_NEAR(PhaseSlip(phase, tone.phase, m.samples), 0.0, 0.1);
      }
      phase = tone.phase;
    }
    EXPECT_TRUE(rig.dialogPane.streamAudio.empty()) << "TCP receive mode";
    EXPECT_TRUE(rig.messages.texts.empty());
    EXPECT_TRUE(PressEscape(dialog));
  }
}

TEST(AudioWindow, RefusedAndUnansweredLoginsGiveTheirMessages) {
  const struct {
    const char* login;
    const char* message;
  } cases[] = {{"login deny\n", "Connection denied. Another user is already connected."},
               {"login silent\n", "Network problem. Check IP, port, router mapping or cable."}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.login);
    test::KvsimScenario kv(test::UdpSection(c.login));
    PaneRig rig;
    rig.dialogs.OpenAudioConnection(Fields(kv.udpPort(), 2));
    HWND dialog = FindDialog(kTitle);
    ASSERT_NE(dialog, nullptr);
    Click(dialog, kConnect);
    EXPECT_EQ(rig.messages.texts, std::vector<std::string>{c.message});
    EXPECT_EQ(ItemText(dialog, kStatus), "Disconnected");
    EXPECT_TRUE(ItemEnabled(dialog, kConnect));
    EXPECT_FALSE(ItemEnabled(dialog, kDisconnect));
  }
}

TEST(AudioWindow, ThePanesWindowGoingEndsTheConnection) {
  test::KvsimScenario kv(test::UdpSection(""));
  PaneRig rig;
  rig.dialogs.OpenAudioConnection(Fields(kv.udpPort(), 2));
  HWND dialog = FindDialog(kTitle);
  ASSERT_NE(dialog, nullptr);
  Click(dialog, kConnect);
  ASSERT_EQ(ItemText(dialog, kStatus), "Connected");
  rig.DestroyPane();
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_EQ(UntilLogout(kv).back(), test::WireRecord(3, 0));
  EXPECT_TRUE(rig.dialogPane.streamAudio.empty());
}

// Wine's devices, with the playback blocks written and returned counted.
struct Played {
  int written = 0;
  int returned = 0;
  bool closed = false;
};

class CountingOutput final : public IWaveOutDevice {
 public:
  CountingOutput(std::unique_ptr<IWaveOutDevice> inner, Played& played)
      : inner_(std::move(inner)), played_(played) {}
  int Prepare(WaveBlock& b) override { return inner_->Prepare(b); }
  int Unprepare(WaveBlock& b) override {
    if (b.flags & kWaveBlockDone) ++played_.returned;
    return inner_->Unprepare(b);
  }
  int Reset() override { return inner_->Reset(); }
  int Close() override {
    const int result = inner_->Close();
    played_.closed = played_.closed || result == kWaveOk;
    return result;
  }
  int Write(WaveBlock& b) override {
    ++played_.written;
    return inner_->Write(b);
  }
  int Pause() override { return inner_->Pause(); }

 private:
  std::unique_ptr<IWaveOutDevice> inner_;
  Played& played_;
};

class CountingDevices final : public IWaveDevices {
 public:
  unsigned InputDeviceCount() override { return wine_.InputDeviceCount(); }
  unsigned OutputDeviceCount() override { return wine_.OutputDeviceCount(); }
  int OpenInput(const WaveFormat& f, const INotificationWindow& w,
                std::unique_ptr<IWaveInDevice>& d) override {
    return wine_.OpenInput(f, w, d);
  }
  int OpenOutput(const WaveFormat& f, const INotificationWindow& w,
                 std::unique_ptr<IWaveOutDevice>& d) override {
    std::unique_ptr<IWaveOutDevice> inner;
    const int result = wine_.OpenOutput(f, w, inner);
    if (inner) d = std::make_unique<CountingOutput>(std::move(inner), played);
    return result;
  }
  int GetOutputVolume(uint32_t& v) override { return wine_.GetOutputVolume(v); }
  int SetOutputVolume(uint32_t v) override { return wine_.SetOutputVolume(v); }
  unsigned MixerCount() override { return wine_.MixerCount(); }
  int OpenMixer(unsigned id, std::unique_ptr<IMixerDevice>& m) override {
    return wine_.OpenMixer(id, m);
  }
  Played played;

 private:
  win::WinWaveDevices wine_;
};

TEST(AudioWindow, UdpReceiveModePlaysTheServerWithStreamAudioOffMeanwhile) {
  test::KvsimScenario kv(test::UdpSection("echo\n"));
  PaneRig rig;
  CountingDevices devices;
  CAudioConnectionDlg audio(rig.messages, devices, rig.dialogPane);
  win::ConnectionDialogHandler<CAudioConnectionDlg> handler(audio);
  win::ModelessDialog window;
  audio.SetFields(Fields(kv.udpPort(), 2));
  ASSERT_TRUE(window.Open(CAudioConnectionDlg::kTemplateId, rig.pane(), handler));
  HWND dialog = window.Window();

  Click(dialog, kUdp);
  Click(dialog, kConnect);
  EXPECT_EQ(ItemText(dialog, kStatus), "Connected");
  EXPECT_EQ(rig.dialogPane.streamAudio, std::vector<int32_t>{0});
  EXPECT_TRUE(Pump(15000, [&] { return devices.played.returned >= 1; }))
      << "written " << devices.played.written;

  Click(dialog, kDisconnect);
  EXPECT_EQ(rig.dialogPane.streamAudio, (std::vector<int32_t>{0, 1}));
  EXPECT_TRUE(devices.played.closed) << "the player closes once the receive thread has ended";
  EXPECT_EQ(UntilLogout(kv).back(), test::WireRecord(3, 0));
  EXPECT_TRUE(rig.messages.texts.empty());
  Click(dialog, IDOK);
  EXPECT_FALSE(window.IsOpen());
}

}  // namespace
}  // namespace pel::wintest
