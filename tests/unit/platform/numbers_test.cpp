// Reals read from the program's files, whatever their separator and length.
#include "platform/numbers.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Numbers, RealsReadWithEitherSeparatorWhateverTheirLength) {
  EXPECT_EQ(ParseReal("-2,5"), -2.5);
  EXPECT_EQ(FormatReal(-2.5, ','), "-2,5");
  const std::string zeros(70, '0');  // longer than any number the program writes
  EXPECT_EQ(ParseReal(zeros + "1," + zeros + "1"), 1);
  for (const char* text : {"", " 1", "1.000,5", "1x", "inf", "1e999", "+-1"}) {
    EXPECT_EQ(ParseReal(text), std::nullopt) << text;
  }
}

}  // namespace
