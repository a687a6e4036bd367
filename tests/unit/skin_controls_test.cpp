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

// The owner: records the report codes (-1 for a report with other data) and may refuse a
// toggle's latch during the press report.
struct Owner {
  std::vector<int> codes;
  CSkinButton* button = nullptr;
  bool refuse = false;

  static void Callback(int data1, int code, void* data2) {
    Owner& owner = *static_cast<Owner*>(data2);
    owner.codes.push_back(data1 == 3005 ? code : -1);
    if (code == 2) owner.button->SetAccept(owner.refuse ? 0 : 1);
  }
};

struct SkinButtonTest : ::testing::Test {
  CSkinButton button;
  Owner owner{{}, &button};
  void SetUp() override {
    ASSERT_TRUE(button.Create(ChildRect{}, SkinUnit{}, &Owner::Callback, 3005, &owner));
  }
};

TEST_F(SkinButtonTest, PressAndReleaseReports) {
  struct Case {
    bool toggle, latchedBefore, refuse, enabled;
    std::vector<int> codes;
    bool latchedAfter;
    int visualAfter;
  };
  const Case cases[] = {
      {false, false, false, true, {2, 3}, false, kSkinHover},        // push
      {true, false, false, true, {2}, true, kSkinPressed},           // toggle latches
      {true, false, true, true, {2, 3}, false, kSkinHover},          // latch refused
      {true, true, false, true, {3}, false, kSkinHover},             // latched toggle again
      {false, false, false, false, {}, false, kSkinDisabledLook},    // disabled push
      {true, false, false, false, {}, false, kSkinDisabledLook},     // disabled toggle
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    ASSERT_TRUE(button.Create(ChildRect{}, SkinUnit{}, &Owner::Callback, 3005, &owner));
    button.SetToggle(c.toggle);
    button.Enable(c.enabled);
    if (c.latchedBefore) button.SetState(kSkinPressed);
    owner.codes.clear();
    owner.refuse = c.refuse;
    button.OnLButtonDown();
    button.OnLButtonUp();
    EXPECT_EQ(owner.codes, c.codes);
    EXPECT_EQ(button.IsLatched(), c.latchedAfter);
    EXPECT_EQ(button.GetState(), c.visualAfter);
  }
}

TEST_F(SkinButtonTest, HoverStatesAndEnable) {
  EXPECT_TRUE(button.OnMouseMove(true, true));
  EXPECT_FALSE(button.OnMouseMove(true, true));  // tracked until the mouse leaves
  EXPECT_EQ(button.ImageSlot(), kSlotHover);
  button.OnMouseLeave();
  button.OnMouseMove(true, false);  // no active window: no hover
  EXPECT_EQ(button.GetState(), kSkinNormal);
  button.SetState(kSkinHover);  // refused
  button.SetState(kSkinPressed);  // a push button only takes the look
  EXPECT_EQ(button.ImageSlot(), kSlotPressed);
  EXPECT_FALSE(button.IsLatched());

  button.SetToggle(true);
  button.SetState(kSkinPressed);
  button.OnMouseMove(true, true);
  button.OnMouseLeave();
  EXPECT_TRUE(button.IsLatched());  // a latched toggle keeps its look
  EXPECT_EQ(button.GetState(), kSkinPressed);

  button.SetState(kSkinDisabledLook);
  EXPECT_FALSE(button.IsEnabled() || button.IsLatched());
  button.SetState(kSkinPressed);  // ignored while disabled
  button.OnMouseMove(true, true);
  button.OnMouseLeave();
  EXPECT_EQ(button.ImageSlot(), kSlotDisabled);
  button.Enable(true);
  EXPECT_EQ(button.GetState(), kSkinNormal);

  EXPECT_TRUE(button.Create(ChildRect{1, 2, 3, 4}, SkinUnit{8, 10}, nullptr, 0, nullptr));
  EXPECT_EQ(button.rect().left * 100 + button.rect().bottom, 840);
  EXPECT_FALSE(button.Create(ChildRect{1, 2, 3, 4}, SkinUnit{0, 10}, nullptr, 0, nullptr));
}

TEST(SkinCellTest, LoadSkinImageChecks) {
  FakeSkinImages skins;
  struct Case {
    SkinCell cell;
    int unit, resource, slot;
    bool ok;
  };
  const Case cases[] = {
      {{0, 6, 9, 9}, 8, 208, kSlotNormal, true},     // CAM: 0,48 72x24
      {{36, 6, 54, 9}, 8, 209, kSlotPressed, true},  // Sequence reaches the right edge
      {{-1, 0, 9, 3}, 8, 208, kSlotNormal, false},   {{0, -1, 9, 3}, 8, 208, kSlotNormal, false},
      {{0, 0, 0, 3}, 8, 208, kSlotNormal, false},    {{0, 3, 9, 3}, 8, 208, kSlotNormal, false},
      {{0, 0, 9, 3}, 0, 208, kSlotNormal, false},    {{46, 0, 55, 3}, 8, 208, kSlotNormal, false},
      {{0, 10, 9, 13}, 8, 208, kSlotNormal, false},
      {{0, 0, 0x7FFFFFFF, 3}, 8, 208, kSlotNormal, false},
      {{0, 0, 9, 3}, 8, 300, kSlotNormal, false},    {{0, 0, 9, 3}, 8, 208, 4, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    CSkinButton b;
    const size_t before = skins.cuts.size();
    EXPECT_EQ(b.LoadSkinImage(skins, c.resource, c.cell, c.unit, c.slot), c.ok);
    EXPECT_EQ(b.Image(c.slot) != nullptr, c.ok);
    EXPECT_EQ(skins.cuts.size(), before + (c.ok ? 1 : 0));
    if (c.ok) {
      EXPECT_EQ(skins.cuts.back().second,
                (PixelRect{c.cell.left * 8, c.cell.top * 8, c.cell.right * 8, c.cell.bottom * 8}));
      EXPECT_EQ(b.imageWidth() * 100 + b.imageHeight(), (c.cell.right - c.cell.left) * 800 + 24);
    }
  }
}

struct RecordingComboWindow : ISkinComboWindow {
  std::vector<std::string> lines;
  void SetTooltipText(const std::string& text, bool) override { lines.push_back("tip " + text); }
  void ActivateTooltip(bool) override { lines.push_back("tip"); }
  void ResetContent() override { lines.push_back("reset"); }
  void AddString(const std::string& text) override { lines.push_back("add " + text); }
  void SetCurSel(int index) override { lines.push_back("sel " + std::to_string(index)); }
  void SetItemData(int index, int32_t data) override {
    lines.push_back("data " + std::to_string(index) + " " + std::to_string(data));
  }
};

TEST(SkinComboBoxTest, SelectionChangeByKindAndMirroredWindow) {
  CSkinComboBox combo;
  RecordingComboWindow window;
  combo.AttachWindow(&window);
  std::vector<std::pair<int, int32_t>> seen;
  combo.SetSelectionHandler([&](int kind, int32_t data) { seen.emplace_back(kind, data); });

  combo.ActivateTooltip(true);    // no tooltip yet
  combo.SetTooltip(99999, true);  // no such string: nothing
  combo.SetTooltip(2016, true);
  combo.AddString("fastest");
  combo.AddString("15 fps");
  EXPECT_EQ(combo.SetItemData(1, 6), 0);
  EXPECT_EQ(combo.SetItemData(2, 6), IComboList::kComboError);
  EXPECT_EQ(combo.SetCurSel(5), IComboList::kComboError);
  EXPECT_EQ(window.lines, (std::vector<std::string>{"tip Speed Control is valid for M-JPEG only.",
                                                    "add fastest", "add 15 fps", "data 1 6",
                                                    "sel -1"}));

  combo.OnSelChange(1);  // kind 0: nothing
  combo.SetKind(kComboKindSpeed);
  combo.OnSelChange(1);
  combo.SetKind(kComboKindModules);
  combo.OnSelChange(7);  // no such entry: the list's error value
  EXPECT_EQ(seen, (std::vector<std::pair<int, int32_t>>{{2, 6}, {1, -1}}));
}

}  // namespace
}  // namespace pel::test
