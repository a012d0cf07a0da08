#include "core/numeric.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace qr {
namespace {

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(10.5), 10);
  EXPECT_EQ(RoundHalfEven(11.5), 12);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(-3.5), -4);
  EXPECT_EQ(RoundHalfEven(0.5), 0);
}

TEST(RoundHalfEven, OtherValuesGoToTheNearest) {
  EXPECT_EQ(RoundHalfEven(2.49), 2);
  EXPECT_EQ(RoundHalfEven(2.51), 3);
  EXPECT_EQ(RoundHalfEven(-2.51), -3);
  EXPECT_EQ(RoundHalfEven(7.0), 7);
}

TEST(RoundHalfEven, ValuesOutsideTheRangeSaturate) {
  EXPECT_EQ(RoundHalfEven(1e30), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(RoundHalfEven(-1e30), std::numeric_limits<int64_t>::min());
  EXPECT_EQ(RoundHalfEven(std::nan("")), 0);
}

TEST(ToInt16, AcceptsExactlyTheSixteenBitRange) {
  EXPECT_EQ(ToInt16(32767), int16_t{32767});
  EXPECT_EQ(ToInt16(-32768), int16_t{-32768});
  EXPECT_EQ(ToInt16(32768), std::nullopt);
  EXPECT_EQ(ToInt16(-32769), std::nullopt);
}

TEST(FormatSettingNumber, BlankBeforeZeroAndPositiveMinusBeforeNegative) {
  EXPECT_EQ(FormatSettingNumber(1), " 1");
  EXPECT_EQ(FormatSettingNumber(0), " 0");
  EXPECT_EQ(FormatSettingNumber(-0.0), " 0");
  EXPECT_EQ(FormatSettingNumber(-1), "-1");
  EXPECT_EQ(FormatSettingNumber(32767), " 32767");
  EXPECT_EQ(FormatSettingNumber(-32768), "-32768");
}

TEST(FormatSettingNumber, FractionsKeptWithoutBinaryNoise) {
  EXPECT_EQ(FormatSettingNumber(1234.5), " 1234.5");
  EXPECT_EQ(FormatSettingNumber(-7.25), "-7.25");
  EXPECT_EQ(FormatSettingNumber(1234.1), " 1234.1");
  EXPECT_EQ(FormatSettingNumber(0.00001), " 0.00001");
}

TEST(FormatSettingNumber, LargeIntegersNeverInExponentForm) {
  EXPECT_EQ(FormatSettingNumber(12345678), " 12345678");
  EXPECT_EQ(FormatSettingNumber(-1e15), "-1000000000000000");
}

TEST(ParseSettingNumber, AcceptsBlanksAroundAndSigns) {
  EXPECT_EQ(ParseSettingNumber(" 2"), int16_t{2});
  EXPECT_EQ(ParseSettingNumber("2"), int16_t{2});
  EXPECT_EQ(ParseSettingNumber("  -1  "), int16_t{-1});
  EXPECT_EQ(ParseSettingNumber("\t+5"), int16_t{5});
  EXPECT_EQ(ParseSettingNumber("1e3"), int16_t{1000});
}

TEST(ParseSettingNumber, IntegerPartRoundsTowardMinusInfinity) {
  EXPECT_EQ(ParseSettingNumber(" 12.7"), int16_t{12});
  EXPECT_EQ(ParseSettingNumber("-1.5"), int16_t{-2});
  EXPECT_EQ(ParseSettingNumber("-0.25"), int16_t{-1});
  EXPECT_EQ(ParseSettingNumber(".5"), int16_t{0});
  EXPECT_EQ(ParseSettingNumber("32767.9"), int16_t{32767});
  EXPECT_EQ(ParseSettingNumber("-32768"), int16_t{-32768});
}

TEST(ParseSettingNumber, RejectsWhatIsNotANumberOrDoesNotFit) {
  for (const char* text : {"", " ", "abc", "1x", "1 2", "--1", "+-1", ".", "e5", "1e", "inf", "nan", "0x10",
                           "32768", "-32768.5", "1e10", "1e400"})
    EXPECT_EQ(ParseSettingNumber(text), std::nullopt) << '"' << text << '"';
}

TEST(SettingNumberForms, EverySixteenBitValueSurvivesWritingAndReading) {
  for (int value = INT16_MIN; value <= INT16_MAX; ++value)
    ASSERT_EQ(ParseSettingNumber(FormatSettingNumber(value)), static_cast<int16_t>(value)) << value;
}

}  // namespace
}  // namespace qr
