// Conversions, math, inspection and the dialogs: subtypes kept, the random generator's
// repeatability and what the host is asked; the cases conversions.vbs reads as a script
// (rounding, overflow, Hex and Oct, Rnd's range) are not read again here.
#include <cmath>

#include "builtins1_support.h"

namespace vendil::test {
namespace {

using NumberBuiltins = BuiltinsTest;

TEST_F(NumberBuiltins, DatesFromJapaneseTexts) {
  const Variant date = Call(u"CDate", {S(u"2026/12/07 9:05:03")});
  ASSERT_EQ(date.Type(), VarType::Date);
  EXPECT_EQ(ToString(date), u"2026/12/07 9:05:03");
  EXPECT_EQ(ErrorOf(u"CDate", {S(u"nope")}), 13);
  EXPECT_TRUE(ToBool(Call(u"IsDate", {S(u"2026/12/07")})));
  EXPECT_FALSE(ToBool(Call(u"IsDate", {D(1)})));
}

TEST_F(NumberBuiltins, HexOfALongEmptyAndNull) {
  EXPECT_EQ(Text(u"Hex", {I(-1)}), "FFFFFFFF");
  EXPECT_EQ(Text(u"Hex", {Variant()}), "0");
  EXPECT_TRUE(Call(u"Hex", {Variant::Null()}).IsNull());
}

TEST_F(NumberBuiltins, IntFixAbsRoundKeepTheSubtype) {
  EXPECT_EQ(Call(u"Int", {S(u"2.5")}).Type(), VarType::Double);
  EXPECT_EQ(Call(u"Fix", {Variant::Integer(3)}).Type(), VarType::Integer);
  EXPECT_EQ(Call(u"Abs", {Variant::Integer(-32768)}).Type(), VarType::Long);
  EXPECT_TRUE(Call(u"Abs", {Variant::Null()}).IsNull());
  EXPECT_EQ(ErrorOf(u"Round", {D(1), I(-1)}), 5);
  EXPECT_EQ(Number(u"Sgn", {D(-0.1)}), -1);
  EXPECT_EQ(ErrorOf(u"Log", {I(0)}), 5);
  EXPECT_EQ(ErrorOf(u"Exp", {I(1000)}), 6);
}

TEST_F(NumberBuiltins, RndStartsFixedAndASeedRepeatsTheSequence) {
  // An unseeded engine starts the 24-bit generator from its fixed initial state.
  EXPECT_FLOAT_EQ(static_cast<float>(Number(u"Rnd")), 0.7055475f);
  EXPECT_FLOAT_EQ(static_cast<float>(Number(u"Rnd")), 0.533424f);
  EXPECT_FLOAT_EQ(static_cast<float>(Number(u"Rnd")), 0.5795186f);
  const double first = Number(u"Rnd", {I(-5)});
  const double next = Number(u"Rnd");
  EXPECT_NE(next, first);
  // The same seed from the same state gives the same sequence.
  random = RandomState();
  Call(u"Randomize", {I(42)});
  const double seeded = Number(u"Rnd");
  random = RandomState();
  Call(u"Randomize", {I(42)});
  EXPECT_EQ(Number(u"Rnd"), seeded);
}

TEST_F(NumberBuiltins, InspectionOfSubtypes) {
  EXPECT_FALSE(ToBool(Call(u"IsNumeric", {Variant::Date(1)})));
  EXPECT_TRUE(ToBool(Call(u"IsObject", {Variant::Nothing()})));
  EXPECT_EQ(Number(u"VarType", {Variant::ArrayOf({})}), 8204);
  EXPECT_EQ(Number(u"VBOBJECTERROR"), static_cast<int32_t>(0x80040000u));
}

TEST_F(NumberBuiltins, DialogsGoThroughTheHost) {
  EXPECT_EQ(Number(u"MsgBox", {S(u"Go?"), I(4 + 32), S(u"Ask")}), 6);
  ASSERT_EQ(host.shown.size(), 1u);
  EXPECT_EQ(host.shown[0].title, u"Ask");
  EXPECT_EQ(host.shown[0].style, 36);
  Call(u"MsgBox", {S(u"x"), Variant::Missing(), S(u"t")});
  EXPECT_EQ(host.shown[1].style, 0);
  host.answers.push_back(u"typed");
  EXPECT_EQ(Text(u"InputBox", {S(u"Name"), S(u"T"), S(u"def")}), "typed");
  EXPECT_EQ(host.lastDefault, u"def");
  EXPECT_TRUE(Call(u"InputBox", {S(u"Name")}).IsEmpty());
  EXPECT_EQ(ErrorOf(u"MsgBox"), 450);
}

}  // namespace
}  // namespace vendil::test
