// The resources of Pelioran.ocx: the string table against the core's, the dialogs, the
// images and the type library.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "WinTestSupport.h"
#include "com/BStr.h"
#include "res/StringTable.h"

namespace {

using pel::wintest::DialogTemplate;
using pel::wintest::LoadDialogTemplate;

class PelioranResources : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    module_ = LoadLibraryExW(pel::wintest::BinPath(L"Pelioran.ocx").c_str(), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE);
  }
  static void TearDownTestSuite() {
    if (module_) FreeLibrary(module_);
    module_ = nullptr;
  }
  void SetUp() override { ASSERT_NE(nullptr, module_); }

  std::wstring ResString(UINT id) {
    wchar_t text[512] = {};
    const int n = LoadStringW(module_, id, text, 512);
    return std::wstring(text, n > 0 ? static_cast<size_t>(n) : 0);
  }

  static HMODULE module_;
};
HMODULE PelioranResources::module_ = nullptr;

TEST_F(PelioranResources, StringTableIsTheCoresStringTable) {
  const int ids[] = {
#define PEL_STRING(id, symbol, text) id,
#include "res/strings.inc"
#undef PEL_STRING
  };
  for (const int id : ids) {
    const std::string core = pel::LoadResString(id);
    ASSERT_FALSE(core.empty()) << id;
    EXPECT_EQ(pel::com::WideFromAnsi(core), ResString(static_cast<UINT>(id))) << id;
  }
  EXPECT_EQ(L"Pelioran Control", ResString(1));
  EXPECT_EQ(L"Pelioran Property Page", ResString(2));
  EXPECT_EQ(L"General", ResString(200));
  // The sequence messages keep their backslashes before the quotes.
  EXPECT_EQ(L"\\\"Cam1\\\" does not work while \\\"Sequence\\\" is working.", ResString(2026));
  EXPECT_EQ(L"", ResString(2040));  // no such string
}

TEST_F(PelioranResources, AboutBoxDialogOne) {
  const auto d = LoadDialogTemplate(module_, 1);
  ASSERT_TRUE(d);
  EXPECT_EQ(L"About Pelioran Control", d->caption);
  EXPECT_EQ(34, d->x);
  EXPECT_EQ(22, d->y);
  EXPECT_EQ(260, d->cx);
  EXPECT_EQ(55, d->cy);
  EXPECT_TRUE(d->style & DS_MODALFRAME);
  EXPECT_TRUE(d->style & WS_CAPTION);
  ASSERT_EQ(4u, d->items.size());

  const auto& icon = d->items[0];
  // The static class by its ordinal or by its name.
  EXPECT_TRUE(icon.className == L"#130" || lstrcmpiW(icon.className.c_str(), L"Static") == 0);
  EXPECT_EQ(static_cast<DWORD>(SS_ICON), icon.style & SS_TYPEMASK);
  EXPECT_EQ(L"#1", icon.text);  // icon resource 1
  EXPECT_EQ(10, icon.x);
  EXPECT_EQ(10, icon.y);
  EXPECT_EQ(20, icon.cx);
  EXPECT_EQ(20, icon.cy);

  EXPECT_EQ(L"Pelioran Control, Version 1.0", d->items[1].text);
  EXPECT_EQ(40, d->items[1].x);
  EXPECT_EQ(10, d->items[1].y);
  EXPECT_EQ(170, d->items[1].cx);
  EXPECT_EQ(8, d->items[1].cy);
  EXPECT_EQ(40, d->items[2].x);
  EXPECT_EQ(25, d->items[2].y);
  EXPECT_EQ(170, d->items[2].cx);
  EXPECT_EQ(8, d->items[2].cy);

  const auto& ok = d->items[3];
  EXPECT_EQ(L"#128", ok.className);  // Button
  EXPECT_EQ(IDOK, ok.id);
  EXPECT_EQ(L"OK", ok.text);
  EXPECT_EQ(static_cast<DWORD>(BS_DEFPUSHBUTTON), ok.style & 0xF);
  EXPECT_EQ(221, ok.x);
  EXPECT_EQ(7, ok.y);
  EXPECT_EQ(32, ok.cx);
  EXPECT_EQ(14, ok.cy);
}

TEST_F(PelioranResources, PropertyPageDialogTwoHundred) {
  const auto d = LoadDialogTemplate(module_, 200);
  ASSERT_TRUE(d);
  EXPECT_TRUE(d->style & WS_CHILD);
  EXPECT_EQ(250, d->cx);
  EXPECT_EQ(62, d->cy);
  ASSERT_EQ(1u, d->items.size());
  const auto& text = d->items[0];
  EXPECT_EQ(L"#130", text.className);
  EXPECT_EQ(L"TODO: Place controls to manipulate properties of Pelioran Control on this dialog.",
            text.text);
  EXPECT_EQ(7, text.x);
  EXPECT_EQ(25, text.y);
  EXPECT_EQ(229, text.cx);
  EXPECT_EQ(16, text.cy);
}

TEST_F(PelioranResources, IconToolboxBitmapAndTypeLibrary) {
  EXPECT_NE(nullptr, FindResourceW(module_, MAKEINTRESOURCEW(1),
                                   reinterpret_cast<LPCWSTR>(RT_GROUP_ICON)));
  HRSRC bitmap = FindResourceW(module_, MAKEINTRESOURCEW(1), reinterpret_cast<LPCWSTR>(RT_BITMAP));
  ASSERT_NE(nullptr, bitmap);
  const auto* info = static_cast<const BITMAPINFOHEADER*>(
      LockResource(LoadResource(module_, bitmap)));
  ASSERT_NE(nullptr, info);
  EXPECT_EQ(16, info->biWidth);
  EXPECT_EQ(15, info->biHeight);
  HRSRC tlb = FindResourceW(module_, MAKEINTRESOURCEW(1), L"TYPELIB");
  ASSERT_NE(nullptr, tlb);
  const auto* magic = static_cast<const char*>(LockResource(LoadResource(module_, tlb)));
  ASSERT_NE(nullptr, magic);
  EXPECT_EQ(0, std::string(magic, 4).compare("MSFT"));
}

}  // namespace
