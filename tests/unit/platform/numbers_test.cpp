// Reals and integers read from and written to the program's files.
#include "platform/numbers.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Numbers, RealsReadWithEitherSeparatorWhateverTheirLength) {
  EXPECT_EQ(ParseReal("2,5"), 2.5);
  EXPECT_EQ(ParseReal("+1.25e2"), 125);
  EXPECT_EQ(ParseReal("-0,5"), -0.5);
  // Longer than any number the program writes, and still read whole.
  const std::string zeros(70, '0');
  EXPECT_EQ(ParseReal(zeros + "1," + zeros + "1"), 1);
  for (const char* text : {"", " 1", "1 ", "1.000,5", "1x", "inf", "nan", "1e999", "+-1"}) {
    EXPECT_EQ(ParseReal(text), std::nullopt) << text;
  }
}

TEST(Numbers, RealsWrittenShortestWithTheUsersSeparatorAndReadBack) {
  EXPECT_EQ(FormatReal(2.5, ','), "2,5");
  EXPECT_EQ(FormatReal(46000.458333333333, '.'), "46000.4583333333");
  EXPECT_EQ(FormatReal(1e-20, '.'), "1e-20");
  const double third = 1.0 / 3;
  EXPECT_NEAR(*ParseReal(FormatReal(third, ',')), third, 1e-15);
}

TEST(Numbers, IntegersDecimalOrHexadecimalWithinInt) {
  EXPECT_EQ(ParseInteger("+12"), 12);
  EXPECT_EQ(ParseInteger("0x1F"), 31);
  EXPECT_EQ(ParseInteger("-2147483648"), -2147483648LL);
  EXPECT_EQ(ParseInteger("2147483648"), std::nullopt);
  EXPECT_EQ(ParseInteger("1.5"), std::nullopt);
}

}  // namespace
