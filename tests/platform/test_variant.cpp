// Variant: types, conversions and their errors, arrays, comparison and
// arithmetic.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/Errors.h"
#include "platform/Variant.h"

namespace {

template <class F>
String VariantErrorOf(F f) {
  try {
    f();
  } catch (const EVariantError& e) {
    return e.Message();
  }
  return "(no EVariantError)";
}

}  // namespace

TEST(Variant, ConstructorsPickTheTypeCode) {
  struct Case { Variant value; TVarType type; };
  const Case cases[] = {
      {Variant(), varEmpty},
      {Null(), varNull},
      {Variant(true), varBoolean},
      {Variant(int8_t(-1)), varShortInt},
      {Variant(uint8_t(1)), varByte},
      {Variant(int16_t(1)), varSmallint},
      {Variant(uint16_t(1)), varWord},
      {Variant(1), varInteger},
      {Variant(1u), varLongWord},
      {Variant(int64_t(1)), varInt64},
      {Variant(1LL), varInt64},
      {Variant(1.5f), varSingle},
      {Variant(1.5), varDouble},
      {Variant(Currency::FromScaled(15000)), varCurrency},
      {VarFromDateTime(45306), varDate},
      {Variant('x'), varString},
      {Variant("text"), varString},
      {Variant(String("text")), varString},
      {Variant(u"wide"), varOleStr},
      {VarArrayOf({1, 2}), varArray | varVariant},
  };
  for (const Case& c : cases) EXPECT_EQ(VarType(c.value), c.type) << VarTypeAsText(c.type);
  // Stored formats rely on these numbers.
  EXPECT_EQ(varString, 256);
  EXPECT_EQ(varInt64, 20);
  EXPECT_EQ(varBoolean, 11);
}

TEST(Variant, TypeTests) {
  EXPECT_TRUE(VarIsEmpty(Variant()) && VarIsClear(Unassigned()));
  EXPECT_TRUE(VarIsNull(Null()) && !VarIsEmpty(Null()));
  EXPECT_TRUE(VarIsStr(Variant("a")) && VarIsStr(Variant(u"a")) && !VarIsStr(Variant(1)));
  EXPECT_TRUE(VarIsNumeric(Variant(true)) && VarIsOrdinal(Variant(true)));
  EXPECT_TRUE(VarIsNumeric(Variant(Currency{})) && VarIsFloat(Variant(Currency{})));
  EXPECT_FALSE(VarIsNumeric(VarFromDateTime(1)));
  EXPECT_FALSE(VarIsNumeric(Variant("1")));
  EXPECT_TRUE(VarIsArray(VarArrayCreate(0, 1, varByte)));
  Variant v = 5;
  VarClear(v);
  EXPECT_TRUE(VarIsEmpty(v));
  EXPECT_EQ(VarTypeAsText(varArray | varByte), "Array Byte");
}

TEST(Variant, TextOfEveryType) {
  struct Case { Variant value; const char* text; };
  const Case cases[] = {
      {Variant(), ""},
      {Variant(42), "42"},
      {Variant(int64_t(-9000000000)), "-9000000000"},
      {Variant(1.5), "1.5"},
      {Variant(1.1f), "1.1"},  // a Single shows its own digits
      {Variant(Currency::FromScaled(125000)), "12.5"},
      {Variant(true), "True"},
      {Variant(false), "False"},
      {VarFromDateTime(45306), "1/15/2024"},
      {VarFromDateTime(45306.5), "1/15/2024 12:00:00 PM"},
      {Variant(u"caf\u00E9"), "caf\xE9"},
      {Variant('x'), "x"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.value.AsString(), c.text);
    EXPECT_EQ(VarToStr(c.value), c.text);
  }
  EXPECT_EQ(Variant("caf\xE9").AsWideString(), u"caf\u00E9");
  EXPECT_EQ(VarToStr(Null()), "");
  EXPECT_EQ(VarToWideStr(Null()), u"");
  EXPECT_EQ(VariantErrorOf([] { Null().AsString(); }), "Could not convert variant of type (Null) into type (String)");
}

TEST(Variant, NumericConversions) {
  EXPECT_EQ(Variant("12").AsInteger(), 12);
  EXPECT_EQ(Variant(" -7 ").AsInt64(), -7);
  EXPECT_EQ(Variant("12.5").AsInteger(), 12);  // halves go to even
  EXPECT_EQ(Variant(2.5).AsInteger(), 2);
  EXPECT_EQ(Variant(3.5).AsInteger(), 4);
  EXPECT_EQ(Variant(-2.5).AsInteger(), -2);
  EXPECT_EQ(Variant(Currency::FromScaled(25000)).AsInteger(), 2);
  EXPECT_EQ(Variant(Currency::FromScaled(35000)).AsInteger(), 4);
  EXPECT_EQ(Variant(true).AsInteger(), -1);
  EXPECT_EQ(Variant().AsInteger(), 0);
  EXPECT_EQ(Variant(int64_t(1) << 40).AsDouble(), 1099511627776.0);
  EXPECT_EQ(Variant("1.5E3").AsDouble(), 1500);
  EXPECT_EQ(Variant(u"2.25").AsSingle(), 2.25f);
  EXPECT_EQ(Variant("1.23456").AsCurrency().Scaled, 12346);
  EXPECT_EQ(Variant(7).AsCurrency().Scaled, 70000);
  EXPECT_EQ(Variant(Currency::FromScaled(15000)).AsDouble(), 1.5);
  EXPECT_EQ(Variant("True").AsBoolean(), true);
  EXPECT_EQ(Variant("false").AsBoolean(), false);
  EXPECT_EQ(Variant("0").AsBoolean(), false);
  EXPECT_EQ(Variant(0.5).AsBoolean(), true);
  EXPECT_EQ(Variant("1/15/2024").AsDateTime(), 45306);
  EXPECT_EQ(VarToDateTime(Variant(45306.5)), 45306.5);
}

TEST(Variant, RefusedConversionsRaiseVariantErrors) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case { std::function<void()> convert; const char* message; };
  const Case cases[] = {
      {[] { Variant("abc").AsDouble(); }, "Could not convert variant of type (String) into type (Double)"},
      {[] { Variant("abc").AsInteger(); }, "Could not convert variant of type (String) into type (Integer)"},
      {[] { Variant(u"abc").AsCurrency(); }, "Could not convert variant of type (OleStr) into type (Currency)"},
      {[] { Variant("yes").AsBoolean(); }, "Could not convert variant of type (String) into type (Boolean)"},
      {[] { Variant("x").AsDateTime(); }, "Could not convert variant of type (String) into type (Date)"},
      {[] { Null().AsInteger(); }, "Could not convert variant of type (Null) into type (Integer)"},
      {[] { Null().AsDouble(); }, "Could not convert variant of type (Null) into type (Double)"},
      {[] { Variant(300).AsByte(); }, "Overflow while converting variant of type (Integer) into type (Byte)"},
      {[] { Variant(-1).AsWord(); }, "Overflow while converting variant of type (Integer) into type (Word)"},
      {[] { Variant(1e10).AsInteger(); }, "Overflow while converting variant of type (Double) into type (Integer)"},
      {[nan] { Variant(nan).AsInt64(); }, "Overflow while converting variant of type (Double) into type (Int64)"},
      {[] { Variant(1e300).AsCurrency(); }, "Overflow while converting variant of type (Double) into type (Currency)"},
      {[] { Variant(1e300).AsSingle(); }, "Overflow while converting variant of type (Double) into type (Single)"},
      {[] { Variant("99999999999").AsInteger(); },
       "Overflow while converting variant of type (String) into type (Integer)"},
      {[] { Variant(uint8_t(200)).AsShortInt(); },
       "Overflow while converting variant of type (Byte) into type (ShortInt)"},
      {[] { VarArrayCreate(0, 1, varByte).AsString(); },
       "Could not convert variant of type (Array Byte) into type (String)"},
  };
  for (const Case& c : cases) EXPECT_EQ(VariantErrorOf(c.convert), c.message);
  EXPECT_EQ(Variant(uint8_t(200)).AsInteger(), 200);
}

TEST(Variant, VarAsType) {
  Variant v = VarAsType(Variant("12"), varInteger);
  EXPECT_EQ(VarType(v), varInteger);
  EXPECT_EQ(v.AsInteger(), 12);
  EXPECT_EQ(VarType(VarAsType(Variant(12), varString)), varString);
  EXPECT_EQ(VarType(VarAsType(Variant(12), varOleStr)), varOleStr);
  EXPECT_EQ(VarType(VarAsType(Variant("1/15/2024"), varDate)), varDate);
  EXPECT_EQ(VarType(VarAsType(Variant(true), varVariant)), varBoolean);
  EXPECT_EQ(VarType(VarAsType(Null(), varNull)), varNull);
  EXPECT_EQ(VariantErrorOf([] { VarAsType(Null(), varInteger); }),
            "Could not convert variant of type (Null) into type (Integer)");
  EXPECT_EQ(VariantErrorOf([] { VarAsType(Variant(1), varArray | varByte); }),
            "Could not convert variant of type (Integer) into type (Array Byte)");
}

TEST(Variant, ArraysOfFixedTypesHoldTheirValues) {
  Variant bytes = VarArrayCreate(1, 4, varByte);
  EXPECT_EQ(VarType(bytes), varArray | varByte);
  EXPECT_EQ(VarArrayDimCount(bytes), 1);
  EXPECT_EQ(VarArrayLowBound(bytes, 1), 1);
  EXPECT_EQ(VarArrayHighBound(bytes, 1), 4);
  EXPECT_EQ(VarArrayGet(bytes, 3).AsInteger(), 0);
  for (int i = 1; i <= 4; ++i) VarArrayPut(bytes, 64 + i, i);
  EXPECT_EQ(VarArrayToBytes(bytes), "ABCD");
  EXPECT_EQ(VarType(VarArrayGet(bytes, 2)), varByte);
  EXPECT_EQ(VariantErrorOf([&] { VarArrayPut(bytes, 300, 1); }),
            "Overflow while converting variant of type (Integer) into type (Byte)");
  EXPECT_EQ(VarArrayToBytes(bytes), "ABCD");  // a failed put changes nothing

  Variant words = VarArrayCreate(0, 1, varWord);
  VarArrayPut(words, 0x0102, 0);
  VarArrayPut(words, "772", 1);  // 0x0304, converted on the way in
  EXPECT_EQ(VarArrayToBytes(words), String("\x02\x01\x04\x03", 4));

  Variant fromBytes = VarArrayFromBytes(String("\x00\xFF", 2));
  EXPECT_EQ(VarArrayHighBound(fromBytes, 1), 1);
  EXPECT_EQ(VarArrayGet(fromBytes, 1).AsInteger(), 255);
  EXPECT_EQ(VarArrayToBytes(fromBytes), String("\x00\xFF", 2));

  Variant dates = VarArrayCreate(-1, 0, varDate);
  VarArrayPut(dates, "1/15/2024", -1);
  EXPECT_EQ(VarType(VarArrayGet(dates, -1)), varDate);
  EXPECT_EQ(VarArrayGet(dates, -1).AsDouble(), 45306);

  Variant empty = VarArrayCreate(0, -1, varInteger);
  EXPECT_EQ(VarArrayHighBound(empty, 1), -1);
  EXPECT_EQ(VarArrayToBytes(empty), "");
}

TEST(Variant, ArraysOfVariants) {
  Variant a = VarArrayOf({1, "two", Null(), VarArrayOf({3.5})});
  EXPECT_EQ(VarArrayLowBound(a, 1), 0);
  EXPECT_EQ(VarArrayHighBound(a, 1), 3);
  EXPECT_EQ(VarType(VarArrayGet(a, 0)), varInteger);
  EXPECT_EQ(VarArrayGet(a, 1).AsString(), "two");
  EXPECT_TRUE(VarIsNull(VarArrayGet(a, 2)));
  EXPECT_EQ(VarArrayGet(VarArrayGet(a, 3), 0).AsDouble(), 3.5);

  // Copies are deep.
  Variant b = a;
  VarArrayPut(b, "changed", 1);
  EXPECT_EQ(VarArrayGet(a, 1).AsString(), "two");
  EXPECT_EQ(VarArrayGet(b, 1).AsString(), "changed");
  Variant moved = std::move(b);
  EXPECT_EQ(VarArrayGet(moved, 1).AsString(), "changed");

  Variant wide = VarArrayCreate(0, 0, varOleStr);
  EXPECT_EQ(VarType(VarArrayGet(wide, 0)), varOleStr);
  VarArrayPut(wide, 5, 0);
  EXPECT_EQ(VarArrayGet(wide, 0).AsWideString(), u"5");
}

TEST(Variant, ArrayMisuseRaises) {
  Variant a = VarArrayCreate(1, 2, varInteger);
  const char* bounds = "Variant or safe array index out of bounds";
  EXPECT_EQ(VariantErrorOf([&] { VarArrayGet(a, 0); }), bounds);
  EXPECT_EQ(VariantErrorOf([&] { VarArrayGet(a, 3); }), bounds);
  EXPECT_EQ(VariantErrorOf([&] { VarArrayPut(a, 1, 3); }), bounds);
  EXPECT_EQ(VariantErrorOf([&] { VarArrayHighBound(a, 2); }), bounds);
  EXPECT_EQ(VariantErrorOf([] { VarArrayHighBound(Variant(1), 1); }), "Variant is not an array");
  EXPECT_EQ(VariantErrorOf([] { VarArrayGet(Variant("s"), 0); }), "Variant is not an array");
  EXPECT_EQ(VarArrayDimCount(Variant(1)), 0);
  const char* create = "Error creating variant or safe array";
  EXPECT_EQ(VariantErrorOf([] { VarArrayCreate(1, -1, varInteger); }), create);
  EXPECT_EQ(VariantErrorOf([] { VarArrayCreate(0, 1, varString); }), create);
  EXPECT_EQ(VariantErrorOf([] { VarArrayCreate(0, 1, varNull); }), create);
  EXPECT_EQ(VariantErrorOf([] { VarArrayCreate(INT32_MIN, INT32_MAX, varByte); }), create);
  EXPECT_EQ(VariantErrorOf([] { VarArrayToBytes(VarArrayOf({1})); }), "Invalid variant type conversion");
}

TEST(Variant, Comparison) {
  const Variant empty, null = Null();
  struct Case { Variant a, b; TVariantRelationship r; };
  const Case cases[] = {
      {empty, empty, vrEqual},
      {empty, null, vrLessThan},
      {null, Variant(5), vrLessThan},
      {Variant(5), null, vrGreaterThan},
      {null, null, vrEqual},
      {empty, Variant(""), vrLessThan},
      {Variant(2), Variant(10), vrLessThan},
      {Variant(1), Variant(1.0), vrEqual},
      {Variant(int64_t(1) << 40), Variant(1), vrGreaterThan},
      {Variant(uint8_t(255)), Variant(int8_t(-1)), vrGreaterThan},
      {Variant(Currency::FromScaled(15000)), Variant(1.5), vrEqual},
      {Variant(Currency::FromScaled(1)), Variant(Currency::FromScaled(2)), vrLessThan},
      {Variant("abc"), Variant("abd"), vrLessThan},
      {Variant("b"), Variant(u"a"), vrGreaterThan},
      {Variant(u"a"), Variant(u"a"), vrEqual},
      {Variant("10"), Variant(9), vrGreaterThan},  // the string is read as a number
      {Variant(9), Variant("10"), vrLessThan},
      {Variant(true), Variant(-1), vrEqual},
      {Variant(true), Variant("True"), vrEqual},
      {VarFromDateTime(45306), Variant("1/15/2024"), vrEqual},
      {VarFromDateTime(45306), Variant(45306), vrEqual},
  };
  for (const Case& c : cases)
    EXPECT_EQ(VarCompareValue(c.a, c.b), c.r) << VarToStr(c.a) << " vs " << VarToStr(c.b);

  EXPECT_TRUE(Variant(5) == 5);
  EXPECT_TRUE(Variant("x") != "y");
  EXPECT_TRUE(Variant(1) < 2 && Variant(2) <= 2 && Variant(3) > 2 && Variant(2) >= 2);
  EXPECT_FALSE(null == Variant(0));
  EXPECT_FALSE(empty == Variant(0));
  EXPECT_EQ(VariantErrorOf([] { VarCompareValue(Variant("abc"), Variant(5)); }),
            "Could not convert variant of type (String) into type (Double)");
  EXPECT_EQ(VariantErrorOf([] { (void)(Variant(5) == Variant("abc")); }),
            "Could not convert variant of type (String) into type (Double)");
  EXPECT_EQ(VariantErrorOf([] { (void)(VarArrayOf({1}) == VarArrayOf({1})); }), "Invalid variant operation");
}

TEST(Variant, Arithmetic) {
  const Variant cur = Variant(Currency::FromScaled(15000));  // 1.5
  struct Case { Variant result; TVarType type; Variant expected; };
  const Case cases[] = {
      {Variant(2) + Variant(3), varInteger, 5},
      {Variant(INT32_MAX) + Variant(1), varInt64, int64_t(INT32_MAX) + 1},
      {Variant(int16_t(2)) * Variant(uint8_t(3)), varInteger, 6},
      {Variant(int64_t(2)) - Variant(3), varInt64, -1},
      {Variant(7) / Variant(2), varDouble, 3.5},
      {Variant(1.5) + Variant(1), varDouble, 2.5},
      {Variant(true) + Variant(1), varInteger, 0},
      {Variant("ab") + Variant("cd"), varString, "abcd"},
      {Variant("ab") + Variant(u"cd"), varOleStr, u"abcd"},
      {Variant("1.5") + Variant(1), varDouble, 2.5},
      {Variant("4") * Variant("2.5"), varDouble, 10.0},
      {cur + Variant(2), varCurrency, Currency::FromScaled(35000)},
      {cur * cur, varCurrency, Currency::FromScaled(22500)},
      {cur - Variant(0.5), varDouble, 1.0},
      {VarFromDateTime(45306) + Variant(1), varDate, VarFromDateTime(45307)},
      {VarFromDateTime(45306.5) - VarFromDateTime(45306), varDouble, 0.5},
      {Variant() + Variant(2), varInteger, 2},
      {-Variant(5), varInteger, -5},
      {-Variant(INT32_MIN), varInt64, -int64_t(INT32_MIN)},
      {-cur, varCurrency, Currency::FromScaled(-15000)},
      {-Variant(1.5f), varSingle, -1.5f},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(VarType(c.result), c.type) << VarToStr(c.expected);
    EXPECT_TRUE(c.result == c.expected) << VarToStr(c.result) << " != " << VarToStr(c.expected);
  }
  EXPECT_TRUE(VarIsNull(Null() + Variant(1)));
  EXPECT_TRUE(VarIsNull(Variant("x") * Null()));
  EXPECT_TRUE(VarIsNull(-Null()));
  EXPECT_TRUE(VarIsEmpty(Variant() + Variant()));
  EXPECT_EQ(VariantErrorOf([] { Variant(1) / Variant(0); }), "Division by zero");
  EXPECT_EQ(VariantErrorOf([] { Variant(0.0) / Variant(); }), "Division by zero");
  EXPECT_EQ(VariantErrorOf([] { Variant(INT64_MAX) + Variant(1); }), "Variant overflow");
  EXPECT_EQ(VariantErrorOf([] { -Variant(INT64_MIN); }), "Variant overflow");
  EXPECT_EQ(VariantErrorOf([] { Variant("abc") + Variant(1); }),
            "Could not convert variant of type (String) into type (Double)");
  EXPECT_EQ(VariantErrorOf([] { VarArrayOf({1}) + Variant(1); }), "Invalid variant operation");
}
