// Snapshots: JPEG or BMP by the camera's codec, the name from the clock, the per-user folder
// chain and hostile server tags, the Save As path of older systems, large pictures, wrong
// variant types, and the states in which Snap refuses or resumes first.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "pane/SnapshotFiles.h"
#include "support/PaneRig.h"

namespace pel::test {
namespace {

const std::string kFolder = "C:\\users\\tester\\AppData\\LocalLow\\Norvane Works\\Pelioran\\10.0.0.1-80";

std::vector<uint8_t> Picture(size_t size) {
  std::vector<uint8_t> bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 1);
  return bytes;
}

struct Snapshots : ::testing::Test {
  PaneRig rig;
  std::vector<uint8_t> picture = Picture(3000);
  Variant pictureVariant = Variant::ByteArray(picture);
  Variant sizeVariant = Variant::Int(3000);

  // Cameras 1..6, the user may view camera 1 and 2; camera `codec` 0 gives JPEG.
  void Start(int32_t codec) {
    rig.viewer().SetMethodResult(273, Variant::Bstr("10.0.0.1:80"));
    rig.viewer().SetMethodResult(294, Variant::I4(codec));
    for (int32_t dispid : {267, 268}) {
      rig.viewer().SetMethodHandler(dispid, [this](std::vector<Variant>& args) {
        args[0] = pictureVariant;
        args[1] = sizeVariant;
        return Variant::Bool(true);
      });
    }
    ASSERT_TRUE(rig.Start(PaneScenario("0x00110001", {"NUM_OF_CAM = 6"})));
  }
  void Snap() { rig.Click(kButtonSnap); }
  std::vector<std::string> Files() {
    std::vector<std::string> names;
    for (const auto& f : rig.system.files) names.push_back(f.first);
    return names;
  }
};

TEST_F(Snapshots, JpegIntoTheServersFolder) {
  Start(0);
  Snap();
  const std::string path = kFolder + "\\20240309_07h05m02s_cam1.jpg";
  EXPECT_EQ(Files(), std::vector<std::string>{path});
  EXPECT_EQ(rig.system.files[path], picture);
  EXPECT_EQ(rig.messages(), std::vector<std::string>{path + " is saved."});
  EXPECT_EQ(rig.system.created,
            (std::vector<std::string>{
                "C:\\users\\tester\\AppData", "C:\\users\\tester\\AppData\\LocalLow",
                "C:\\users\\tester\\AppData\\LocalLow\\Norvane Works",
                "C:\\users\\tester\\AppData\\LocalLow\\Norvane Works\\Pelioran", kFolder}));
  EXPECT_EQ(rig.pane.Button(kButtonSnap).GetState(), kSkinNormal);
  EXPECT_NE(rig.control.log.IndexOf("viewer call 267 (EMPTY, EMPTY, I2:1)"), -1);

  // The same second again: the same name, overwritten; the folders exist now.
  pictureVariant = Variant::ByteArray(Picture(10));
  sizeVariant = Variant::Int(10);
  Snap();
  EXPECT_EQ(rig.system.files[path], Picture(10));
  EXPECT_EQ(rig.system.created.size(), 5u);
}

TEST_F(Snapshots, BmpFromACameraWithoutJpeg) {
  Start(3);
  rig.system.now = LocalTime{1999, 12, 31, 23, 59, 58};
  rig.ctrl().OnViewerCameraSelected(2);
  Snap();
  EXPECT_EQ(Files(), std::vector<std::string>{kFolder + "\\19991231_23h59m58s_cam2.bmp"});
  EXPECT_NE(rig.control.log.IndexOf("viewer call 268 (EMPTY, EMPTY, I2:2)"), -1);
}

TEST_F(Snapshots, LargePicturesAreSavedWholeAndWrongTypesNotAtAll) {
  Start(0);
  struct Case {
    int32_t codec;
    Variant picture;
    Variant size;
    std::vector<uint8_t> saved;  // empty: nothing saved
    std::vector<std::string> messages;
  };
  const size_t bmp = 1216512 + 54;  // beyond the 704 x 576 x 3 bitmap buffer
  const Case cases[] = {
      {0, Variant::ByteArray(Picture(200000)), Variant::Int(200000), Picture(200000), {}},
      {1, Variant::ByteArray(Picture(bmp)), Variant::Int(static_cast<int32_t>(bmp)), Picture(bmp), {}},
      // A size beyond the bytes handed over never reads past them.
      {1, Variant::ByteArray(Picture(100)), Variant::Int(5000), Picture(100), {}},
      {0, Variant::ByteArray(Picture(5)), Variant::I4(5), {}, {"vSize.vt != VT_INT"}},
      {0, Variant::I4(5), Variant::Int(5), {}, {"vJpg.vt != VT_ARRAY|VT_UI1"}},
      {1, Variant{}, Variant{}, {}, {"vSize.vt != VT_INT", "vBmp.vt != VT_ARRAY|VT_UI1"}},
  };
  for (const Case& c : cases) {
    rig.viewer().SetMethodResult(294, Variant::I4(c.codec));
    pictureVariant = c.picture;
    sizeVariant = c.size;
    rig.system.files.clear();
    rig.messages().clear();
    Snap();
    if (c.saved.empty()) {
      EXPECT_TRUE(rig.system.files.empty());
      EXPECT_EQ(rig.messages(), c.messages);
    } else {
      ASSERT_EQ(rig.system.files.size(), 1u);
      EXPECT_EQ(rig.system.files.begin()->second, c.saved);
    }
  }
}

TEST_F(Snapshots, RefusalsAndResume) {
  Start(0);
  rig.Click(kButtonSequence);
  Snap();
  rig.Click(kButtonSequence);
  rig.ctrl().OnViewerCameraSelected(3);  // no view right on camera 3
  Snap();
  rig.ctrl().OnViewerCameraSelected(0);  // none selected: silent
  Snap();
  EXPECT_EQ(rig.messages(),
            (std::vector<std::string>{"\\\"Snap\\\" does not work while \\\"Sequence\\\" is working.",
                                      "No Permission"}));
  EXPECT_TRUE(rig.system.files.empty());
  EXPECT_EQ(rig.control.log.IndexOf("viewer call 294 (0)"), -1);
  rig.messages().clear();

  rig.ctrl().OnViewerCameraSelected(1);
  rig.Click(kButtonPause);
  ASSERT_EQ(rig.Shown(), std::vector<int>{});
  Snap();  // resumes live display first
  EXPECT_EQ(rig.pane.CameraFlags().paused, 0);
  EXPECT_FALSE(rig.pane.Button(kButtonPause).IsLatched());
  EXPECT_EQ(rig.Shown(), std::vector<int>{1});
  EXPECT_EQ(rig.system.files.size(), 1u);
}

TEST_F(Snapshots, FolderOrFileFailures) {
  Start(0);
  rig.system.refused.insert("C:\\users\\tester\\AppData\\LocalLow\\Norvane Works");
  Snap();
  rig.system.refused.clear();
  rig.system.profile.reset();  // the shell folder function is missing
  Snap();
  EXPECT_EQ(rig.messages(), (std::vector<std::string>{"Snapshot folder is not correct.",
                                                      "Snapshot folder is not correct."}));
  rig.messages().clear();
  rig.system.profile = "C:\\users\\tester";
  rig.system.writeFails = true;
  Snap();  // a file that cannot be written is not reported as saved
  EXPECT_TRUE(rig.messages().empty());
  EXPECT_TRUE(rig.system.files.empty());
}

// The viewer had no picture: nothing is written and nothing is reported as saved, on either
// path, as when the file cannot be created.
TEST_F(Snapshots, NoPictureWritesNoFile) {
  Start(0);
  struct Case {
    Variant picture;
    Variant size;
  };
  const Case cases[] = {
      {Variant::ByteArray(Picture(3000)), Variant::Int(0)},
      {Variant::ByteArray(Picture(3000)), Variant::Int(-5)},
      {Variant::ByteArray({}), Variant::Int(10)},
  };
  for (const std::optional<int> major : {std::optional<int>(6), std::optional<int>(5)}) {
    rig.system.osMajor = major;
    rig.system.saveAsAnswer = "D:\\pics\\mine.jpg";
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << "version " << *major << ", size " << c.size.i);
      rig.system.files.clear();
      rig.system.created.clear();
      rig.system.saveAsAsked.clear();
      rig.messages().clear();
      pictureVariant = c.picture;
      sizeVariant = c.size;
      Snap();
      EXPECT_TRUE(rig.system.files.empty());
      EXPECT_TRUE(rig.system.created.empty());
      EXPECT_TRUE(rig.system.saveAsAsked.empty());
      EXPECT_TRUE(rig.messages().empty());
    }
  }
}

TEST_F(Snapshots, SaveAsBeforeVersion6) {
  Start(0);
  rig.system.osMajor = 5;
  rig.system.saveAsAnswer = "D:\\pics\\mine.jpg";
  Snap();
  ASSERT_EQ(rig.system.saveAsAsked.size(), 1u);
  EXPECT_EQ(rig.system.saveAsAsked[0].defaultExtension, "jpg");
  EXPECT_EQ(rig.system.saveAsAsked[0].initialName, "20240309_07h05m02s_cam1.jpg");
  EXPECT_EQ(rig.system.saveAsAsked[0].filter, "JPEG Files (*.jpg)|*.jpg||");
  EXPECT_EQ(Files(), std::vector<std::string>{"D:\\pics\\mine.jpg"});
  EXPECT_TRUE(rig.system.created.empty());
  EXPECT_TRUE(rig.messages().empty());

  rig.system.osMajor.reset();  // the version query failed
  rig.system.saveAsAnswer.reset();
  rig.pane.Button(kButtonSnap).OnLButtonDown();
  rig.pane.Button(kButtonSnap).OnLButtonUp();
  EXPECT_EQ(rig.system.saveAsAsked.size(), 2u);
  EXPECT_EQ(rig.system.files.size(), 1u);
  EXPECT_EQ(rig.pane.Button(kButtonSnap).GetState(), kSkinNormal);
}

TEST(SnapshotFolderTest, HostileServerTagsStayInsideThePelioranFolder) {
  const std::string base = "C:\\users\\tester\\AppData\\LocalLow\\Norvane Works\\Pelioran";
  struct Case {
    std::string tag;
    std::string folder;
  };
  const Case cases[] = {
      {"10.0.0.1-80", "10.0.0.1-80"},
      {"..", "--"},
      {".", "-"},
      {"..\\..\\Windows", "..-..-Windows"},
      {"a/../../b", "a-..-..-b"},
      {"C:\\x", "C--x"},
      {"q<u>o\"t|e?s*", "q-u-o-t-e-s-"},
      {"tab\there\x01", "tab-here-"},
      {"name. .", "name---"},
      {"CON", "CON-"},
      {"lpt3.log", "lpt3-.log"},
      {"COM10", "COM10"},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tag);
    FakeSnapshotSystem system;
    const std::string expected = c.folder.empty() ? base : base + "\\" + c.folder;
    EXPECT_EQ(GetSnapshotFolder(system, c.tag), expected);
    EXPECT_EQ(system.created.back(), expected);
  }
  FakeSnapshotSystem shortProfile;
  shortProfile.profile = "C:";
  EXPECT_EQ(GetSnapshotFolder(shortProfile, "x"), "C:");
  EXPECT_TRUE(shortProfile.created.empty());
}

}  // namespace
}  // namespace pel::test
