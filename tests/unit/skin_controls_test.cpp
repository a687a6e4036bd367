// The skinned button's state machine (press and release reports, latch, accept flag, hover,
// SetState, Enable), its skin cell checks, and the skinned combo box.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pane/skin/SkinButton.h"
#include "pane/skin/SkinComboBox.h"
#include "support/PaneFakes.h"

namespace pel::test {
namespace {

struct Report {
  int data1;
  int code;
};

// The owner: records every report and may refuse a toggle's latch during the press report.
struct Owner {
  std::vector<Report> reports;
  CSkinButton* button = nullptr;
  bool refuse = false;

  static void Callback(int data1, int code, void* data2) {
    Owner& owner = *static_cast<Owner*>(data2);
    owner.reports.push_back({data1, code});
    if (code == 2) owner.button->SetAccept(owner.refuse ? 0 : 1);
  }
  std::vector<int> Codes() const {
    std::vector<int> codes;
    for (const Report& r : reports) codes.push_back(r.code);
    return codes;
  }
};

struct SkinButtonTest : ::testing::Test {
  CSkinButton button;
  Owner owner;
  void SetUp() override {
    owner.button = &button;
    ASSERT_TRUE(button.Create(ChildRect{1, 2, 3, 4}, SkinUnit{}, &Owner::Callback, 3005, &owner));
  }
  void Click() {
    button.OnLButtonDown();
    button.OnLButtonUp();
  }
};

TEST_F(SkinButtonTest, PressAndReleaseReports) {
  struct Case {
    const char* name;
    bool toggle;
    bool latchedBefore;
    bool refuse;
    bool enabled;
    std::vector<int> codes;
    bool latchedAfter;
    int visualAfter;
  };
  const Case cases[] = {
      {"push", false, false, false, true, {2, 3}, false, kSkinHover},
      {"toggle latches", true, false, false, true, {2}, true, kSkinPressed},
      {"toggle refused", true, false, true, true, {2, 3}, false, kSkinHover},
      {"latched toggle again", true, true, false, true, {3}, false, kSkinHover},
      {"disabled push", false, false, false, false, {}, false, kSkinDisabledLook},
      {"disabled toggle", true, false, false, false, {}, false, kSkinDisabledLook},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(button.Create(ChildRect{}, SkinUnit{}, &Owner::Callback, 3005, &owner));
    button.SetToggle(c.toggle);
    button.Enable(c.enabled);
    if (c.latchedBefore) button.SetState(kSkinPressed);
    owner.reports.clear();
    owner.refuse = c.refuse;
    Click();
    EXPECT_EQ(owner.Codes(), c.codes);
    for (const Report& r : owner.reports) EXPECT_EQ(r.data1, 3005);
    EXPECT_EQ(button.IsLatched(), c.latchedAfter);
    EXPECT_EQ(button.GetState(), c.visualAfter);
  }
}

TEST_F(SkinButtonTest, HoverAndLeave) {
  EXPECT_TRUE(button.OnMouseMove(true, true));
  EXPECT_EQ(button.GetState(), kSkinHover);
  EXPECT_FALSE(button.OnMouseMove(true, true));  // tracking until the mouse leaves
  button.OnMouseLeave();
  EXPECT_EQ(button.GetState(), kSkinNormal);
  button.OnMouseMove(true, false);  // no active window: no hover
  EXPECT_EQ(button.GetState(), kSkinNormal);

  button.SetToggle(true);
  button.SetState(kSkinPressed);
  button.OnMouseMove(true, true);
  button.OnMouseLeave();
  EXPECT_EQ(button.GetState(), kSkinPressed);  // a latched toggle keeps its look

  button.Enable(false);
  button.OnMouseMove(true, true);
  button.OnMouseLeave();
  EXPECT_EQ(button.GetState(), kSkinDisabledLook);
  EXPECT_EQ(button.ImageSlot(), kSlotDisabled);
}

TEST_F(SkinButtonTest, SetStateAndEnable) {
  button.SetState(kSkinHover);
  EXPECT_EQ(button.GetState(), kSkinNormal);
  button.SetState(kSkinPressed);  // a push button only takes the look
  EXPECT_EQ(button.GetState(), kSkinPressed);
  EXPECT_FALSE(button.IsLatched());
  EXPECT_EQ(button.ImageSlot(), kSlotPressed);

  button.SetToggle(true);
  button.SetState(kSkinPressed);
  EXPECT_TRUE(button.IsLatched());
  button.SetState(kSkinNormal);
  EXPECT_FALSE(button.IsLatched());

  button.SetState(kSkinPressed);
  button.SetState(kSkinDisabledLook);
  EXPECT_FALSE(button.IsEnabled());
  EXPECT_FALSE(button.IsLatched());
  button.SetState(kSkinPressed);  // ignored while disabled
  EXPECT_EQ(button.GetState(), kSkinDisabledLook);
  button.Enable(true);
  EXPECT_EQ(button.GetState(), kSkinNormal);
}

TEST_F(SkinButtonTest, CreateWithUnit) {
  EXPECT_TRUE(button.Create(ChildRect{1, 2, 3, 4}, SkinUnit{8, 10}, nullptr, 0, nullptr));
  EXPECT_EQ(button.rect().left, 8);
  EXPECT_EQ(button.rect().bottom, 40);
  EXPECT_FALSE(button.Create(ChildRect{1, 2, 3, 4}, SkinUnit{0, 10}, nullptr, 0, nullptr));
  EXPECT_FALSE(button.Create(ChildRect{1, 2, 3, 4}, SkinUnit{-1, -1}, nullptr, 0, nullptr));
  Click();  // no callback: nothing to report to
  EXPECT_TRUE(owner.reports.empty());
}

TEST_F(SkinButtonTest, SkinCellChecks) {
  FakeSkinImages skins;
  struct Case {
    SkinCell cell;
    int unit;
    int resource;
    int slot;
    bool ok;
  };
  const Case cases[] = {
      {{0, 6, 9, 9}, 8, 208, kSlotNormal, true},      // CAM: 0,48 72x24
      {{36, 6, 54, 9}, 8, 209, kSlotPressed, true},   // Sequence reaches the right edge
      {{45, 3, 54, 6}, 8, 207, kSlotHover, true},
      {{-1, 0, 9, 3}, 8, 208, kSlotNormal, false},
      {{0, -1, 9, 3}, 8, 208, kSlotNormal, false},
      {{0, 0, 0, 3}, 8, 208, kSlotNormal, false},
      {{0, 3, 9, 3}, 8, 208, kSlotNormal, false},     // no height
      {{0, 0, 9, 3}, 0, 208, kSlotNormal, false},
      {{46, 0, 55, 3}, 8, 208, kSlotNormal, false},   // beyond the bitmap
      {{0, 10, 9, 13}, 8, 208, kSlotNormal, false},
      {{0, 0, 0x7FFFFFFF, 3}, 8, 208, kSlotNormal, false},
      {{0, 0, 9, 3}, 8, 300, kSlotNormal, false},     // no such bitmap
      {{0, 0, 9, 3}, 8, 208, 4, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cell.left * 1000 + c.cell.right);
    CSkinButton b;
    ASSERT_TRUE(b.Create(ChildRect{}, SkinUnit{}, nullptr, 0, nullptr));
    const size_t before = skins.cuts.size();
    EXPECT_EQ(b.LoadSkinImage(skins, c.resource, c.cell, c.unit, c.slot), c.ok);
    EXPECT_EQ(b.Image(c.slot) != nullptr, c.ok);
    EXPECT_EQ(skins.cuts.size(), before + (c.ok ? 1 : 0));
    if (c.ok) {
      EXPECT_EQ(skins.cuts.back().second,
                (PixelRect{c.cell.left * 8, c.cell.top * 8, c.cell.right * 8, c.cell.bottom * 8}));
      EXPECT_EQ(b.imageWidth(), (c.cell.right - c.cell.left) * 8);
      EXPECT_EQ(b.imageHeight(), 24);
    }
  }
}

struct RecordingComboWindow : IComboWindow {
  std::vector<std::string> lines;
  void SetTooltipText(const std::string& text, bool active) override {
    lines.push_back("tip " + text + (active ? " on" : " off"));
  }
  void ActivateTooltip(bool active) override { lines.push_back(active ? "tip on" : "tip off"); }
  void ResetContent() override { lines.push_back("reset"); }
  void AddString(const std::string& text) override { lines.push_back("add " + text); }
  void SetCurSel(int index) override { lines.push_back("sel " + std::to_string(index)); }
};

TEST(SkinComboBoxTest, SelectionChangeByKindAndMirroredWindow) {
  CSkinComboBox combo;
  RecordingComboWindow window;
  combo.AttachWindow(&window);
  std::vector<std::pair<int, int32_t>> seen;
  combo.SetSelectionHandler([&](int kind, int32_t data) { seen.emplace_back(kind, data); });

  combo.ActivateTooltip(true);  // no tooltip yet
  combo.SetTooltip(99999, true);  // no such string: nothing
  combo.SetTooltip(2016, true);
  combo.AddString("fastest");
  combo.AddString("15 fps");
  EXPECT_EQ(combo.SetItemData(1, 6), 0);
  EXPECT_EQ(combo.SetItemData(2, 6), IComboList::kComboError);
  EXPECT_EQ(combo.SetCurSel(5), IComboList::kComboError);
  combo.SetCurSel(0);
  EXPECT_EQ(window.lines,
            (std::vector<std::string>{"tip Speed Control is valid for M-JPEG only. on",
                                      "add fastest", "add 15 fps", "sel -1", "sel 0"}));

  combo.OnSelChange(1);  // kind 0: nothing
  combo.SetKind(kComboKindSpeed);
  combo.OnSelChange(1);
  combo.SetKind(kComboKindModules);
  combo.OnSelChange(7);  // no such entry: the list's error value
  EXPECT_EQ(seen, (std::vector<std::pair<int, int32_t>>{{2, 6}, {1, -1}}));
  EXPECT_EQ(combo.GetCurSel(), IComboList::kComboError);
}

}  // namespace
}  // namespace pel::test
