// Reals read from the program's files, whatever their separator and length.
#include "platform/numbers.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>
#include <string>
#include <utility>

namespace {

TEST(Numbers, RealsReadWithEitherSeparatorWhateverTheirLength) {
  EXPECT_EQ(ParseReal("-2,5"), -2.5);
  EXPECT_EQ(FormatReal(-2.5, ','), "-2,5");
  const std::string zeros(70, '0');  // longer than any number the program writes
  EXPECT_EQ(ParseReal(zeros + "1," + zeros + "1"), 1);
  for (const char* text : {"", " 1", "1.000,5", "1x", "inf", "1e999", "+-1"}) {
    EXPECT_EQ(ParseReal(text), std::nullopt) << text;
  }
  // The user's own separator reads too, where it cannot be taken for part of a number.
  EXPECT_EQ(ParseReal("46000'25", '\''), 46000.25);
  EXPECT_EQ(ParseReal(zeros + "2'5", '\''), 2.5);
  EXPECT_EQ(ParseReal("46000'25"), std::nullopt);
  EXPECT_EQ(ParseReal("1,5", '\''), 1.5);
  EXPECT_EQ(ParseReal("2-5", '-'), std::nullopt);
  EXPECT_EQ(ParseReal("2e1", 'e'), 20);
}

// The quick way for plain decimals must give what the general conversion gives.
TEST(Numbers, WrittenRealsReadBackAsTheGeneralConversionReadsThem) {
  std::mt19937_64 random(15);
  std::uniform_real_distribution<double> exponent(-6, 17);
  for (int i = 0; i < 20000; ++i) {
    const double written = std::pow(10.0, exponent(random)) * (i % 2 ? 1 : -1);
    const std::string text = FormatReal(written, '.');
    double expected = 0;
    std::from_chars(text.data(), text.data() + text.size(), expected);
    ASSERT_EQ(ParseReal(text), expected) << text;
  }
}

// Amounts round on the decimal value a person reads, half away from zero.
TEST(Numbers, FixedPlacesRoundTheDecimalValueHalfAwayFromZero) {
  const std::pair<double, const char*> cases[] = {{0.125, "0.13"},
                                                  {2.675, "2.68"},
                                                  {1.005, "1.01"},
                                                  {-0.001, "0.00"},
                                                  {-0.005, "-0.01"},
                                                  {-2.675, "-2.68"},
                                                  {6.99999999994179, "7.00"},
                                                  {999.995, "1000.00"},
                                                  {0, "0.00"},
                                                  {0.0049999, "0.00"},
                                                  {9.5, "9.50"},
                                                  {1e20, "100000000000000000000.00"}};
  for (const auto& [value, text] : cases)
    EXPECT_EQ(FormatFixed(value, 2, '.'), text) << value;
  EXPECT_EQ(FormatFixed(1.234e-05, 4, ','), "0,0000");
  EXPECT_EQ(FormatFixed(0.00005, 4, ','), "0,0001");
  EXPECT_EQ(FormatFixed(2.5, 0, ','), "3");
  EXPECT_EQ(FormatFixed(INFINITY, 2, '.'), FormatReal(INFINITY, '.'));  // no digits to round
}

}  // namespace
