// Each modeless dialog made through WinPaneDialogs: its controls where its template puts them,
// its place and owner, one window per title, Escape ending and destroying it; the modal
// Download dialog; the process start of its Download button.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "DialogRig.h"
#include "pane/win/dialogs/WinProcessStarter.h"
#include "relay/RelayOutputDlg.h"

namespace pel::wintest {
namespace {

constexpr int S = 0xFFFF;  // the templates' unnamed controls
const char* const kTrack = "msctls_trackbar32";

const std::vector<TemplateControl> kAudioControls = {
    {S, "Static", "Status", 15, 14, 23, 12},  {213, "Edit", "", 43, 11, 75, 16},
    {S, "Static", "MIC", 11, 33, 16, 9},      {211, kTrack, "", 27, 33, 96, 10},
    {S, "Static", "SPK", 11, 46, 17, 9},      {212, kTrack, "", 27, 46, 96, 10},
    {S, "Button", "", 11, 56, 115, 26},       {203, "Button", "Port", 34, 67, 26, 9},
    {218, "Edit", "32001", 65, 64, 37, 14},   {S, "Button", "Rx Mode", 11, 83, 115, 43},
    {249, "Button", "TCP", 34, 94, 29, 10},   {250, "Button", "UDP", 78, 94, 31, 10},
    {S, "Static", "For the low speed network, you need to select UDP.", 18, 105, 102, 18},
    {245, "Button", "Connect", 7, 129, 39, 17}, {246, "Button", "Disconnect", 49, 129, 39, 17},
    {1, "Button", "EXIT", 91, 129, 39, 17}};

const std::vector<TemplateControl> kVoiceControls = {
    {214, "Button", "Connect", 19, 7, 50, 19},  {215, "Button", "Disconnect", 75, 7, 50, 19},
    {S, "Static", "Status", 20, 37, 24, 12},    {213, "Edit", "", 49, 33, 74, 16},
    {S, "Static", "MIC", 17, 58, 18, 12},       {211, kTrack, "", 34, 58, 95, 10},
    {S, "Static", "SPK", 17, 71, 18, 12},       {212, kTrack, "", 34, 71, 95, 10},
    {S, "Button", "", 17, 80, 109, 60},         {216, "Button", "Listen Only", 38, 89, 63, 10},
    {217, "Button", "Listen and Speak", 38, 101, 75, 10},
    {203, "Button", "Port", 38, 122, 27, 9},    {218, "Edit", "32001", 68, 120, 37, 14},
    {1, "Button", "EXIT", 48, 144, 50, 14}};

const std::vector<TemplateControl> kRelayControls = {
    {203, "Button", "DO 1", 7, 7, 66, 10},  {204, "Button", "DO 2", 7, 20, 66, 10},
    {205, "Button", "DO 3", 7, 32, 66, 10}, {206, "Button", "DO 4", 7, 43, 66, 10},
    {207, "Button", "DO 5", 7, 53, 66, 10}, {208, "Button", "DO 6", 7, 65, 66, 10},
    {1, "Button", "OK", 23, 85, 34, 14}};

const std::vector<TemplateControl> kDownloadControls = {
    {S, "Static", "- There is no Voice kit on your PC or you need new version.", 7, 7, 203, 8},
    {S, "Static", "- Insert CD or download and install Voice kit.", 7, 23, 203, 8},
    {S, "Static", "- Download may take a time depending on your network bandwidth", 7, 41, 203, 8},
    {400, "Button", "Download Voice kit", 40, 60, 139, 22},
    {S, "Button", "", 20, 88, 181, 36},
    {S, "Static", "You need to close all browser before install", 37, 104, 154, 8},
    {1, "Button", "OK", 81, 133, 54, 14}};

struct Kind {
  const char* title;
  const std::vector<TemplateControl>* controls;
  std::function<void(PaneRig&, CRelayOutputDlg&)> open;
};

TEST(DialogWindows, ControlsPlaceOneAtATimeAndEscapeDestroys) {
  const Kind kinds[] = {
      {"Audio Connection", &kAudioControls,
       [](PaneRig& r, CRelayOutputDlg&) {
         AudioDialogFields f;
         f.udpPort = 32001;
         f.deviceType = 2;
         r.dialogs.OpenAudioConnection(f);
       }},
      {"Voice Connection", &kVoiceControls,
       [](PaneRig& r, CRelayOutputDlg&) {
         VoiceDialogFields f;
         f.udpPort = 32001;
         r.dialogs.OpenVoiceConnection(f);
       }},
      {"Relay Output Control", &kRelayControls,
       [](PaneRig& r, CRelayOutputDlg& relay) { r.dialogs.OpenRelayOutput(relay); }},
  };
  for (const Kind& kind : kinds) {
    SCOPED_TRACE(kind.title);
    test::RecordingMessages relayMessages;
    CRelayOutputDlg relay(relayMessages);  // module -1: a message, no request
    PaneRig rig;
    EXPECT_FALSE(rig.dialogs.IsWindowOpen(kind.title));
    kind.open(rig, relay);
    HWND dialog = FindDialog(kind.title);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(rig.dialogs.IsWindowOpen(kind.title));
    EXPECT_TRUE(IsWindowVisible(dialog));
    // A pop-up made over a child window belongs to its top-level window.
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), rig.frame());
    RECT place;
    GetWindowRect(dialog, &place);
    EXPECT_EQ(place.left, 0);
    EXPECT_EQ(place.top, 0);
    ExpectControls(dialog, *kind.controls);

    kind.open(rig, relay);
    EXPECT_EQ(CountTopLevel(kind.title), 1) << "a second open makes no second window";

    EXPECT_TRUE(PressEscape(dialog));
    EXPECT_FALSE(IsWindow(dialog)) << "Escape destroys the window";
    EXPECT_FALSE(rig.dialogs.IsWindowOpen(kind.title));
    kind.open(rig, relay);
    dialog = FindDialog(kind.title);
    ASSERT_NE(dialog, nullptr) << "and it opens again";
    SendMessageA(dialog, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(dialog)) << "the close command destroys it too";
    kind.open(rig, relay);
    EXPECT_NE(FindDialog(kind.title), nullptr);
    rig.DestroyPane();
    EXPECT_FALSE(rig.dialogs.IsWindowOpen(kind.title)) << "it goes with the pane's window";
  }
}

// The modal dialog is looked at and closed from a timer of its own message loop.
std::function<void()> g_onTimer;
void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (g_onTimer) g_onTimer();
}

TEST(DialogWindows, DownloadIsModalWithItsTextsAndOkEndsIt) {
  PaneRig rig;
  bool seen = false;
  g_onTimer = [&] {
    HWND dialog = FindDialog("Download");
    ASSERT_NE(dialog, nullptr);
    seen = true;
    EXPECT_FALSE(IsWindowEnabled(rig.frame())) << "modal over the pane's top-level window";
    ExpectControls(dialog, kDownloadControls);
    Click(dialog, IDOK);
  };
  SetTimer(nullptr, 0, 50, &OnTimer);
  rig.dialogs.ShowDownload(30);
  g_onTimer = nullptr;
  EXPECT_TRUE(seen);
  EXPECT_EQ(FindDialog("Download"), nullptr);
  EXPECT_TRUE(IsWindowEnabled(rig.frame()));
  EXPECT_TRUE(rig.messages.texts.empty());
}

TEST(DialogWindows, ProcessStarterRunsACommandLineAndKeepsNoHandles) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string file = std::string(temp) + "windialogs_started.txt";
  DeleteFileA(file.c_str());
  win::WinProcessStarter starter;
  const DWORD before = CountHandles();
  ASSERT_TRUE(starter.StartProcess("cmd.exe /c echo started> \"" + file + "\""));
  EXPECT_EQ(CountHandles(), before);
  EXPECT_TRUE(Pump(10000, [&] { return GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES; }));
  EXPECT_FALSE(starter.StartProcess("Z:\\nonexistent\\no_such_program.exe"));
  Pump(200);
  DeleteFileA(file.c_str());
}

// A program named without a folder comes from the system folder, not from beside the
// container's program, where the search would find it first.
TEST(DialogWindows, ProcessStarterIgnoresAProgramPlantedBesideTheContainer) {
  char self[MAX_PATH];
  ASSERT_GT(GetModuleFileNameA(nullptr, self, MAX_PATH), 0u);
  std::string planted(self);
  planted = planted.substr(0, planted.find_last_of('\\') + 1) + "pelplanted.exe";
  ASSERT_TRUE(CopyFileA(self, planted.c_str(), FALSE));
  EXPECT_FALSE(win::WinProcessStarter().StartProcess("pelplanted.exe --gtest_list_tests"));
  DeleteFileA(planted.c_str());
}

}  // namespace
}  // namespace pel::wintest
