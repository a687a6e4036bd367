// The dialog templates as the dialog manager builds them: each control's class, ID, text,
// kind and rectangle, in template order, and the dialog's title, style and size.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "WinAudioRig.h"
#include "audio/dialogs/AudioConnectionDlg.h"
#include "audio/dialogs/DialogControls.h"
#include "audio/dialogs/VoiceConnectionDlg.h"
#include "audio/dialogs/VoiceKitDownloadDlg.h"
#include "relay/RelayOutputDlg.h"
#include "res/DialogIds.h"

// The core's logic names the same templates and controls.
static_assert(IDD_AUDIO_CONNECTION == pel::CAudioConnectionDlg::kTemplateId);
static_assert(IDD_VOICE_CONNECTION == pel::CVoiceConnectionDlg::kTemplateId);
static_assert(IDD_VOICEKIT_DOWNLOAD == pel::CVoiceKitDownloadDlg::kTemplateId);
static_assert(IDD_RELAY_OUTPUT == pel::CRelayOutputDlg::kTemplateId);
static_assert(IDC_AUDIO_CONNECT == pel::CAudioConnectionDlg::kIdConnect &&
              IDC_AUDIO_DISCONNECT == pel::CAudioConnectionDlg::kIdDisconnect &&
              IDC_RX_TCP == pel::CAudioConnectionDlg::kIdTcp &&
              IDC_RX_UDP == pel::CAudioConnectionDlg::kIdUdp);
static_assert(IDC_VOICE_CONNECT == pel::CVoiceConnectionDlg::kIdConnect &&
              IDC_VOICE_DISCONNECT == pel::CVoiceConnectionDlg::kIdDisconnect &&
              IDC_LISTEN_ONLY == pel::CVoiceConnectionDlg::kIdListenOnly &&
              IDC_LISTEN_SPEAK == pel::CVoiceConnectionDlg::kIdListenAndSpeak);
static_assert(IDC_PORT_CHECK == pel::dlg::kIdPortCheck && IDC_MIC_SLIDER == pel::dlg::kIdMicSlider &&
              IDC_SPK_SLIDER == pel::dlg::kIdSpeakerSlider && IDC_STATUS == pel::dlg::kIdStatus &&
              IDC_PORT == pel::dlg::kIdPort);
static_assert(IDC_DOWNLOAD_VOICEKIT == pel::CVoiceKitDownloadDlg::kIdDownload);
static_assert(IDC_DO1 == pel::CRelayOutputDlg::kFirstBoxId && IDC_DO6 == IDC_DO1 + 5);

namespace {

// A kind of control: its class and the style bits that make it one.
struct Kind {
  const wchar_t* cls;
  LONG mask;
  LONG bits;
  bool bordered = false;
};
const Kind kStatic{L"Static", SS_TYPEMASK, SS_LEFT};
const Kind kStatusEdit{L"Edit", WS_DISABLED, WS_DISABLED, true};
const Kind kDigitsEdit{L"Edit", ES_NUMBER | WS_DISABLED, ES_NUMBER};
const Kind kTrackbar{L"msctls_trackbar32", TBS_NOTICKS, TBS_NOTICKS};
const Kind kGroupBox{L"Button", BS_TYPEMASK, BS_GROUPBOX};
const Kind kCheckBox{L"Button", BS_TYPEMASK | WS_TABSTOP, BS_AUTOCHECKBOX | WS_TABSTOP};
const Kind kFirstRadio{L"Button", BS_TYPEMASK | WS_GROUP, BS_AUTORADIOBUTTON | WS_GROUP};
const Kind kRadio{L"Button", BS_TYPEMASK | WS_GROUP, BS_AUTORADIOBUTTON};
const Kind kButton{L"Button", BS_TYPEMASK, BS_PUSHBUTTON};
const Kind kDefaultButton{L"Button", BS_TYPEMASK, BS_DEFPUSHBUTTON};

struct Control {
  Kind kind;
  int id;
  const wchar_t* text;
  int x, y, width, height;
};

struct Template {
  int id;
  const wchar_t* title;
  int width, height;
  std::vector<Control> controls;
};

constexpr int kNoId = 0xFFFF;  // IDC_STATIC in a DIALOG template's 16-bit field

const Template kTemplates[] = {
    {IDD_AUDIO_CONNECTION, L"Audio Connection", 136, 153,
     {{kStatic, kNoId, L"Status", 15, 14, 23, 12},
      {kStatusEdit, IDC_STATUS, L"", 43, 11, 75, 16},
      {kStatic, kNoId, L"MIC", 11, 33, 16, 9},
      {kTrackbar, IDC_MIC_SLIDER, L"", 27, 33, 96, 10},
      {kStatic, kNoId, L"SPK", 11, 46, 17, 9},
      {kTrackbar, IDC_SPK_SLIDER, L"", 27, 46, 96, 10},
      {kGroupBox, kNoId, L"", 11, 56, 115, 26},
      {kCheckBox, IDC_PORT_CHECK, L"Port", 34, 67, 26, 9},
      {kDigitsEdit, IDC_PORT, L"", 65, 64, 37, 14},
      {kGroupBox, kNoId, L"Rx Mode", 11, 83, 115, 43},
      {kFirstRadio, IDC_RX_TCP, L"TCP", 34, 94, 29, 10},
      {kRadio, IDC_RX_UDP, L"UDP", 78, 94, 31, 10},
      {kStatic, kNoId, L"For the low speed network, you need to select UDP.", 18, 105, 102, 18},
      {kButton, IDC_AUDIO_CONNECT, L"Connect", 7, 129, 39, 17},
      {kButton, IDC_AUDIO_DISCONNECT, L"Disconnect", 49, 129, 39, 17},
      {kDefaultButton, IDOK, L"EXIT", 91, 129, 39, 17}}},
    {IDD_VOICE_CONNECTION, L"Voice Connection", 147, 165,
     {{kButton, IDC_VOICE_CONNECT, L"Connect", 19, 7, 50, 19},
      {kButton, IDC_VOICE_DISCONNECT, L"Disconnect", 75, 7, 50, 19},
      {kStatic, kNoId, L"Status", 20, 37, 24, 12},
      {kStatusEdit, IDC_STATUS, L"", 49, 33, 74, 16},
      {kStatic, kNoId, L"MIC", 17, 58, 18, 12},
      {kTrackbar, IDC_MIC_SLIDER, L"", 34, 58, 95, 10},
      {kStatic, kNoId, L"SPK", 17, 71, 18, 12},
      {kTrackbar, IDC_SPK_SLIDER, L"", 34, 71, 95, 10},
      {kGroupBox, kNoId, L"", 17, 80, 109, 60},
      {kFirstRadio, IDC_LISTEN_ONLY, L"Listen Only", 38, 89, 63, 10},
      {kRadio, IDC_LISTEN_SPEAK, L"Listen and Speak", 38, 101, 75, 10},
      {kCheckBox, IDC_PORT_CHECK, L"Port", 38, 122, 27, 9},
      {kDigitsEdit, IDC_PORT, L"", 68, 120, 37, 14},
      {kDefaultButton, IDOK, L"EXIT", 48, 144, 50, 14}}},
    {IDD_VOICEKIT_DOWNLOAD, L"Download", 222, 154,
     {{kStatic, kNoId, L"- There is no Voice kit on your PC or you need new version.", 7, 7, 203, 8},
      {kStatic, kNoId, L"- Insert CD or download and install Voice kit.", 7, 23, 203, 8},
      {kStatic, kNoId, L"- Download may take a time depending on your network bandwidth", 7, 41, 203, 8},
      {kButton, IDC_DOWNLOAD_VOICEKIT, L"Download Voice kit", 40, 60, 139, 22},
      {kGroupBox, kNoId, L"", 20, 88, 181, 36},
      {kStatic, kNoId, L"You need to close all browser before install", 37, 104, 154, 8},
      {kDefaultButton, IDOK, L"OK", 81, 133, 54, 14}}},
    {IDD_RELAY_OUTPUT, L"Relay Output Control", 80, 106,
     {{kCheckBox, IDC_DO1, L"DO 1", 7, 7, 66, 10},
      {kCheckBox, IDC_DO2, L"DO 2", 7, 20, 66, 10},
      {kCheckBox, IDC_DO3, L"DO 3", 7, 32, 66, 10},
      {kCheckBox, IDC_DO4, L"DO 4", 7, 43, 66, 10},
      {kCheckBox, IDC_DO5, L"DO 5", 7, 53, 66, 10},
      {kCheckBox, IDC_DO6, L"DO 6", 7, 65, 66, 10},
      {kDefaultButton, IDOK, L"OK", 23, 85, 34, 14}}},
};

INT_PTR CALLBACK QuietDialog(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

std::wstring WindowText(HWND hwnd) {
  wchar_t text[256] = {};
  GetWindowTextW(hwnd, text, 256);
  return text;
}

std::wstring ClassName(HWND hwnd) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  return name;
}

class DialogResources : public testing::TestWithParam<Template> {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
  }
  HWND Create(int id) {
    return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), owner_.get(),
                              &QuietDialog, 0);
  }

  pel::wintest::HiddenOwner owner_;
};

TEST_P(DialogResources, Template) {
  const Template& expected = GetParam();
  const HWND dialog = Create(expected.id);
  ASSERT_NE(nullptr, dialog) << expected.id;
  const LONG style = GetWindowLongW(dialog, GWL_STYLE);
  EXPECT_FALSE(style & WS_VISIBLE) << "shown only once placed";
  const LONG popup = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
  EXPECT_EQ(popup, style & popup);
  EXPECT_EQ(expected.title, WindowText(dialog));
  RECT size{0, 0, expected.width, expected.height};
  MapDialogRect(dialog, &size);
  RECT client{};
  GetClientRect(dialog, &client);
  EXPECT_EQ(size.right, client.right);
  EXPECT_EQ(size.bottom, client.bottom);

  HWND child = GetWindow(dialog, GW_CHILD);
  for (const Control& control : expected.controls) {
    SCOPED_TRACE(testing::Message() << expected.id << " control \"" << control.text << "\" "
                                    << control.id);
    ASSERT_NE(nullptr, child);
    EXPECT_EQ(control.id, GetDlgCtrlID(child) & 0xFFFF);
    EXPECT_EQ(control.text, WindowText(child));
    EXPECT_EQ(control.kind.cls, ClassName(child));
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    EXPECT_EQ(control.kind.bits, style & control.kind.mask);
    if (control.kind.bordered) {
      // A 3D-look dialog turns the border into an edge.
      EXPECT_TRUE((style & WS_BORDER) || (GetWindowLongW(child, GWL_EXSTYLE) & WS_EX_CLIENTEDGE));
    }
    // The dialog manager converts the place and the size each on its own.
    RECT want{control.x, control.y, control.width, control.height};
    MapDialogRect(dialog, &want);
    want.right += want.left;
    want.bottom += want.top;
    RECT got{};
    GetWindowRect(child, &got);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&got), 2);
    EXPECT_EQ(std::make_tuple(want.left, want.top, want.right, want.bottom),
              std::make_tuple(got.left, got.top, got.right, got.bottom));
    child = GetWindow(child, GW_HWNDNEXT);
  }
  EXPECT_EQ(nullptr, child) << "more controls than the template should hold";
  DestroyWindow(dialog);
}

TEST_F(DialogResources, RelayDialogUsesTheSystemFont) {
  const HWND dialog = Create(IDD_RELAY_OUTPUT);
  ASSERT_NE(nullptr, dialog);
  LOGFONTW font{};
  ASSERT_NE(0, GetObjectW(reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)),
                          sizeof font, &font));
  EXPECT_STREQ(L"System", font.lfFaceName);
  DestroyWindow(dialog);
}

INSTANTIATE_TEST_SUITE_P(Templates, DialogResources, testing::ValuesIn(kTemplates),
                         [](const testing::TestParamInfo<Template>& info) {
                           return "Id" + std::to_string(info.param.id);
                         });

}  // namespace
