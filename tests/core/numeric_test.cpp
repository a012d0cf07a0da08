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

TEST(SaturateInt16, ClampsToTheSixteenBitRangeAndKeepsWhatFits) {
  EXPECT_EQ(SaturateInt16(32767), 32767);
  EXPECT_EQ(SaturateInt16(-32768), -32768);
  EXPECT_EQ(SaturateInt16(40000), 32767);
  EXPECT_EQ(SaturateInt16(-5000000000), -32768);
  EXPECT_EQ(SaturateInt16(-7), -7);
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
  EXPECT_EQ(FormatSettingNumber(1.9999999999999998), " 1.9999999999999998");
  EXPECT_EQ(FormatSettingNumber(-1e-20), "-0.00000000000000000001");
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

TEST(ParseSettingNumber, NumbersTooSmallForADoubleStillHaveAnIntegerPart) {
  EXPECT_EQ(ParseSettingNumber("1e-325"), int16_t{0});
  EXPECT_EQ(ParseSettingNumber("1e-320"), int16_t{0});
  EXPECT_EQ(ParseSettingNumber("-1e-325"), int16_t{-1});
  EXPECT_EQ(ParseSettingNumber("1e-99999999999999999999"), int16_t{0});
  EXPECT_EQ(ParseSettingNumber("0e99999999999999999999"), int16_t{0});
  EXPECT_EQ(ParseSettingNumber("-0.0"), int16_t{0});
}

TEST(ParseSettingNumber, IntegerPartIsTakenFromTheDigitsNotFromARoundedDouble) {
  EXPECT_EQ(ParseSettingNumber("32767.99999999999999999"), int16_t{32767});  // a double would say 32768
  EXPECT_EQ(ParseSettingNumber("-32767.00000000000000001"), int16_t{-32768});
  EXPECT_EQ(ParseSettingNumber("0.0032767e7"), int16_t{32767});
  EXPECT_EQ(ParseSettingNumber("00012"), int16_t{12});
}

TEST(ParseSettingNumber32, ReadsWindowPositionsBeyondSixteenBits) {
  EXPECT_EQ(ParseSettingNumber32(" 40000"), 40000);
  EXPECT_EQ(ParseSettingNumber32(" 57600.5"), 57600);
  EXPECT_EQ(ParseSettingNumber32("2147483647"), INT32_MAX);
  EXPECT_EQ(ParseSettingNumber32("-2147483648"), INT32_MIN);
  EXPECT_EQ(ParseSettingNumber32("2147483648"), std::nullopt);
  EXPECT_EQ(ParseSettingNumber32("1e30"), std::nullopt);
  EXPECT_EQ(ParseSettingNumber32("x"), std::nullopt);
}

// Window positions are whole pixels times the screen's twips per pixel, which need not be whole.
TEST(SettingNumberForms, WindowPositionsReadBackWithTheirIntegerPart) {
  EXPECT_EQ(ParseSettingNumber32(FormatSettingNumber(32767.999999999996)), 32767);
  EXPECT_EQ(ParseSettingNumber32(FormatSettingNumber(1.9999999999999998)), 1);
  EXPECT_EQ(ParseSettingNumber32(FormatSettingNumber(-1e-20)), -1);
  for (const double twipsPerPixel : {15.0, 12.0, 10.0, 1440.0 / 168, 1440.0 / 109, 1440.0 / 288})
    for (int pixel = -4000; pixel <= 8000; ++pixel) {
      const double twips = pixel * twipsPerPixel;
      const std::string text = FormatSettingNumber(twips);
      ASSERT_EQ(text.find('e'), std::string::npos) << text;
      ASSERT_EQ(ParseSettingNumber32(text), static_cast<int32_t>(std::floor(twips))) << text;
    }
}

TEST(SettingNumberForms, EverySixteenBitValueSurvivesWritingAndReading) {
  for (int value = INT16_MIN; value <= INT16_MAX; ++value)
    ASSERT_EQ(ParseSettingNumber(FormatSettingNumber(value)), static_cast<int16_t>(value)) << value;
}

}  // namespace
}  // namespace qr
