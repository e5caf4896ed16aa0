#include "fixed_format.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cstdint>
#include <limits>
#include <string>

namespace ff = tsl2::fixed_format;

namespace {

struct RealCase {
  double value;
  int w;
  int d;
  const char* text;
};

TEST(FixedFormatWriteTest, IntegerFields) {
  const struct {
    std::int64_t value;
    int w;
    const char* text;
  } cases[] = {
      {0, 2, " 0"},    {9, 2, " 9"},     {14, 2, "14"},     {5, 2, " 5"},
      {100, 2, "**"},  {-5, 2, "-5"},    {-10, 2, "**"},    {1, 1, "1"},
      {10, 3, " 10"},  {241, 3, "241"},  {1000, 3, "***"},  {7, 1, "7"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(ff::FormatI(c.value, c.w), c.text);
  }
}

TEST(FixedFormatWriteTest, FixedPointFields) {
  const RealCase cases[] = {
      {60, 5, 1, " 60.0"},    {100, 5, 1, "100.0"},   {0.5, 5, 1, "   .5"},
      {0, 5, 1, "   .0"},     {1000, 5, 1, "*****"},  {999.96, 5, 1, "*****"},
      {999.94, 5, 1, "999.9"},{0.96, 5, 1, "  1.0"},  {-2.5, 5, 1, " -2.5"},
      {-0.25, 5, 1, "  -.3"}, {0.25, 5, 1, "   .3"},  {0.35, 5, 1, "   .3"},
      {-0.04, 5, 1, "   .0"}, {-100, 5, 1, "*****"},  {12.345, 9, 4, "  12.3450"},
      {20, 5, 1, " 20.0"},    {10.0f, 5, 1, " 10.0"}, {2.5, 3, 0, " 3."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.value << " F" << c.w << "." << c.d);
    EXPECT_EQ(ff::FormatF(c.value, c.w, c.d), c.text);
  }
}

TEST(FixedFormatWriteTest, ExponentFields) {
  const RealCase cases[] = {
      {0.00123, 9, 3, " .123E-02"},
      {1, 9, 3, " .100E+01"},
      {0.5, 9, 3, " .500E+00"},
      {0, 9, 3, " .000E+00"},
      {-0.0, 9, 3, " .000E+00"},
      {-0.00123, 9, 3, "-.123E-02"},
      {0.9996, 9, 3, " .100E+01"},
      {0.9994, 9, 3, " .999E+00"},
      {9.9995e-5, 9, 3, " .100E-03"},
      {0.0625, 9, 2, "  .63E-01"},  // exact tie: away from zero
      {-0.0625, 9, 2, " -.63E-01"},
      {900000000, 8, 2, " .90E+09"},
      {1000000, 8, 2, " .10E+07"},
      {123456, 8, 2, " .12E+06"},
      {-123456, 8, 2, "-.12E+06"},
      {-123456, 7, 2, "*******"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.value << " E" << c.w << "." << c.d);
    EXPECT_EQ(ff::FormatE(c.value, c.w, c.d), c.text);
  }
  // Exponents beyond two digits cannot be written: the field is stars.
  EXPECT_EQ(ff::FormatE(1e120, 9, 3), "*********");
  EXPECT_EQ(ff::FormatE(9.9996e99, 9, 3), "*********");  // the carry pushes it to E+100
  EXPECT_EQ(ff::FormatE(9.994e98, 9, 3), " .999E+99");
  // The extremes of single precision still fit two exponent digits.
  EXPECT_EQ(ff::FormatE(std::numeric_limits<float>::max(), 9, 3), " .340E+39");
  EXPECT_EQ(ff::FormatE(std::numeric_limits<float>::denorm_min(), 9, 3), " .140E-44");
}

TEST(FixedFormatWriteTest, SinglePrecisionValuesRoundOnTheirExactValue) {
  // 0.1f is 0.100000001490116..., 0.3f is 0.300000011920929...
  EXPECT_EQ(ff::FormatE(0.1f, 9, 3), " .100E+00");
  EXPECT_EQ(ff::FormatE(0.3f, 9, 3), " .300E+00");
  // 0.0005f lies just above its tie, 0.0025f and 0.45f just below.
  EXPECT_EQ(ff::FormatF(static_cast<double>(0.0005f), 5, 3), " .001");
  EXPECT_EQ(ff::FormatF(static_cast<double>(0.0025f), 5, 3), " .002");
  EXPECT_EQ(ff::FormatF(static_cast<double>(0.45f), 5, 1), "   .4");
  EXPECT_EQ(ff::FormatE(static_cast<double>(0.9995f), 9, 3), " .999E+00");
}

TEST(FixedFormatWriteTest, PutEWritesExactlyTheFieldAndNothingElse) {
  char line[20];
  std::fill(std::begin(line), std::end(line), '#');
  ff::PutE(line, 0.987, 9, 3);
  ff::PutE(line + 9, -0.5, 9, 3);
  EXPECT_EQ(std::string(line, 20), " .987E+00-.500E+00##");
}

TEST(FixedFormatWriteTest, NonFiniteValues) {
  EXPECT_EQ(ff::FormatE(std::numeric_limits<double>::quiet_NaN(), 9, 3), "      NaN");
  EXPECT_EQ(ff::FormatE(-std::numeric_limits<double>::infinity(), 9, 3), "     -Inf");
  EXPECT_EQ(ff::FormatF(std::numeric_limits<double>::infinity(), 2, 1), "**");
}

TEST(FixedFormatWriteTest, WritersRaiseNoFloatingPointException) {
  // The result file is written with the traps on.
  std::feclearexcept(FE_ALL_EXCEPT);
  for (double v : {0.0, 1e-45, 0.1, 0.9996, 3.4e38, 123456.0, -2.5}) {
    ff::FormatE(v, 9, 3);
    ff::FormatF(v, 5, 1);
  }
  EXPECT_EQ(std::fetestexcept(FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW), 0);
}

TEST(FixedFormatWriteTest, TextFields) {
  EXPECT_EQ(ff::FormatA("abc", 5), "  abc");
  EXPECT_EQ(ff::FormatA("abcdef", 3), "abc");
  const std::string thirty = "spectrum.csv                  ";
  EXPECT_EQ(ff::FormatA(thirty, 30), thirty);
}

}  // namespace
