// Between the core's Variant and COM's VARIANT, as the control and its hosted components use
// them.

#include <windows.h>

#include <gtest/gtest.h>

#include "com/VariantConvert.h"
#include "com/ComVariant.h"

namespace {

using pel::Variant;
using pel::com::ComVariant;
using pel::win::FromComVariant;
using pel::win::ToComVariant;

TEST(VariantConvert, EveryCoreTypeGoesThereAndBack) {
  const Variant values[] = {
      Variant::I2(-7),          Variant::I4(123456),   Variant::Int(-1),
      Variant::Ui1(200),        Variant::R8(2.5),      Variant::Bool(true),
      Variant::Bool(false),     Variant::Bstr("192.0.2.7:80"), Variant::Bstr(""),
      Variant::ByteArray({0xFF, 0xD8, 0x00, 0xD9}),    Variant::ByteArray({}),
  };
  for (const Variant& v : values) {
    ComVariant com;
    ASSERT_EQ(S_OK, ToComVariant(v, com.Get()));
    EXPECT_EQ(v.vt, V_VT(com.Get()));
    EXPECT_EQ(v, FromComVariant(*com.Get())) << v.vt;
  }
  ComVariant flag;
  ASSERT_EQ(S_OK, ToComVariant(Variant::Bool(true), flag.Get()));
  EXPECT_EQ(VARIANT_TRUE, V_BOOL(flag.Get()));
}

TEST(VariantConvert, ReferencesAreReadThrough) {
  LONG number = 42;
  VARIANT by_ref;
  V_VT(&by_ref) = VT_I4 | VT_BYREF;
  V_I4REF(&by_ref) = &number;
  EXPECT_EQ(Variant::I4(42), FromComVariant(by_ref));

  ComVariant inner;
  ASSERT_EQ(S_OK, ToComVariant(Variant::ByteArray({1, 2, 3}), inner.Get()));
  VARIANT outer;
  V_VT(&outer) = VT_VARIANT | VT_BYREF;
  V_VARIANTREF(&outer) = inner.Get();
  EXPECT_EQ(Variant::ByteArray({1, 2, 3}), FromComVariant(outer));
}

TEST(VariantConvert, TypesTheCoreDoesNotKnowReadAsEmpty) {
  VARIANT date;
  V_VT(&date) = VT_DATE;
  V_DATE(&date) = 1.0;
  EXPECT_TRUE(FromComVariant(date).IsEmpty());
  VARIANT null_ref;
  V_VT(&null_ref) = VT_VARIANT | VT_BYREF;
  V_VARIANTREF(&null_ref) = nullptr;
  EXPECT_TRUE(FromComVariant(null_ref).IsEmpty());
  ComVariant empty;
  ASSERT_EQ(S_OK, ToComVariant(Variant::Empty(), empty.Get()));
  EXPECT_EQ(VT_EMPTY, V_VT(empty.Get()));
}

}  // namespace
