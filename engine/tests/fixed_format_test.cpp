#include "fixed_format.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cstdint>
#include <limits>
#include <string>

#include "engine_error.h"

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
      {0, 2, " 0"},   {9, 2, " 9"},    {14, 2, "14"},    {5, 2, " 5"},
      {100, 2, "**"}, {-5, 2, "-5"},   {-10, 2, "**"},   {1, 1, "1"},
      {10, 3, " 10"}, {241, 3, "241"}, {1000, 3, "***"}, {7, 1, "7"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(ff::FormatI(c.value, c.w), c.text);
  }
}

TEST(FixedFormatWriteTest, FixedPointFields) {
  const RealCase cases[] = {
      {60, 5, 1, " 60.0"},     {100, 5, 1, "100.0"},   {0.5, 5, 1, "   .5"},
      {0, 5, 1, "   .0"},      {1000, 5, 1, "*****"},  {999.96, 5, 1, "*****"},
      {999.94, 5, 1, "999.9"}, {0.96, 5, 1, "  1.0"},  {-2.5, 5, 1, " -2.5"},
      {-0.25, 5, 1, "  -.3"},  {0.25, 5, 1, "   .3"},  {0.35, 5, 1, "   .3"},
      {-0.04, 5, 1, "   .0"},  {-100, 5, 1, "*****"},  {12.345, 9, 4, "  12.3450"},
      {20, 5, 1, " 20.0"},     {10.0f, 5, 1, " 10.0"}, {2.5, 3, 0, " 3."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.value << " F" << c.w << "." << c.d);
    EXPECT_EQ(ff::FormatF(c.value, c.w, c.d), c.text);
  }
}

TEST(FixedFormatWriteTest, ExponentFields) {
  const RealCase cases[] = {
      {0.00123, 9, 3, " .123E-02"}, {1, 9, 3, " .100E+01"},        {0.5, 9, 3, " .500E+00"},
      {0, 9, 3, " .000E+00"},       {-0.0, 9, 3, " .000E+00"},     {-0.00123, 9, 3, "-.123E-02"},
      {0.9996, 9, 3, " .100E+01"},  {0.9994, 9, 3, " .999E+00"},   {9.9995e-5, 9, 3, " .100E-03"},
      {0.0625, 9, 2, "  .63E-01"},  // exact tie: away from zero
      {-0.0625, 9, 2, " -.63E-01"}, {900000000, 8, 2, " .90E+09"}, {1000000, 8, 2, " .10E+07"},
      {123456, 8, 2, " .12E+06"},   {-123456, 8, 2, "-.12E+06"},   {-123456, 7, 2, "*******"},
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

namespace {

TEST(FixedFormatReadTest, FixedColumnReals) {
  const struct {
    const char* field;
    int d;
    float value;
  } cases[] = {
      {"  125", 1, 12.5f},     {"   2000", 4, 0.2f},
      {"     ", 1, 0.0f},      {"", 4, 0.0f},
      {"012.5", 1, 12.5f},     {"  00.2350", 4, 0.235f},
      {"1.000E-02", 3, 0.01f}, {" 1.234E-02", 3, 0.01234f},
      {"1 2 5", 1, 12.5f},     {"  7.500E-01 ", 5, 0.75f},
      {"1.5D+01", 3, 15.0f},   {"1.5-01", 3, 0.15f},
      {"  125E1", 1, 125.0f},  {"-2.5", 1, -2.5f},
      {"    5", 0, 5.0f},      {"1.0E-50", 3, 0.0f},
      {"0.1", 1, 0.1f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.field);
    float value = -99;
    ff::FieldError error;
    ASSERT_TRUE(ff::ParseFixedReal(c.field, c.d, value, error)) << error.reason;
    EXPECT_EQ(value, c.value);
  }
  for (const char* bad : {"abc", "1.2.3", "1.0E", "1.0E+", "--1", "+", ".", "1.0E99", "1x"}) {
    SCOPED_TRACE(bad);
    float value = 0;
    ff::FieldError error;
    EXPECT_FALSE(ff::ParseFixedReal(bad, 3, value, error));
    EXPECT_NE(error.reason.find(bad), std::string::npos) << error.reason;
  }
}

TEST(FixedFormatReadTest, FreeFormValues) {
  float value = 0;
  ff::FieldError error;
  EXPECT_TRUE(ff::ParseFreeReal("9.000E+08", value, error));
  EXPECT_EQ(value, 900000000.0f);
  EXPECT_TRUE(ff::ParseFreeReal("060.0", value, error));
  EXPECT_EQ(value, 60.0f);
  EXPECT_TRUE(ff::ParseFreeReal("15", value, error));  // an integer form is a real too
  EXPECT_EQ(value, 15.0f);
  EXPECT_FALSE(ff::ParseFreeReal("1.5/", value, error));
  std::int32_t count = 0;
  EXPECT_TRUE(ff::ParseFreeInteger("015", count, error));
  EXPECT_EQ(count, 15);
  EXPECT_TRUE(ff::ParseFreeInteger("-3", count, error));
  EXPECT_EQ(count, -3);
  EXPECT_FALSE(ff::ParseFreeInteger("15.0", count, error));
  EXPECT_FALSE(ff::ParseFreeInteger("1E1", count, error));
  EXPECT_FALSE(ff::ParseFreeInteger("99999999999", count, error));
  EXPECT_NE(error.reason.find("99999999999"), std::string::npos);
}

TEST(FixedFormatReadTest, RecordsAcrossLineEnds) {
  // CR LF and LF lines mixed, a last line without its end.
  ff::RecordReader reader("t.dat",
                          "a name that is longer than thirty bytes\r\n"
                          "short\n"
                          "\r\n"
                          "  060.0  trailing words\r\n"
                          "0000.5\r\n"
                          "  1.000E-02 , 7\n"
                          "3 4\n"
                          "  125   2000");
  EXPECT_EQ(reader.NextText(30), "a name that is longer than thi");
  EXPECT_EQ(reader.NextText(30), "short                         ");
  // A blank line holds no value, so the read goes on to the next line.
  EXPECT_EQ(reader.ReadFreeReal(), 60.0f);
  EXPECT_EQ(reader.LineNumber(), 4);
  // One value short on a line: the second comes from the next line.
  float pair[2];
  reader.ReadFreeReals(pair, 2);
  EXPECT_EQ(pair[0], 0.5f);
  EXPECT_EQ(pair[1], 0.01f);
  EXPECT_EQ(reader.LineNumber(), 6);
  EXPECT_EQ(reader.ReadFreeInteger(), 3);  // rest of line 7 ignored
  const std::string_view row = reader.NextRecord();
  EXPECT_EQ(reader.FixedReal(row, 1, 5, 1), 12.5f);
  EXPECT_EQ(reader.FixedReal(row, 6, 9, 4), 0.2f);
  EXPECT_EQ(reader.FixedReal(row, 20, 9, 4), 0.0f);  // beyond the record: blanks
}

TEST(FixedFormatReadTest, FailuresNameFileAndLine) {
  struct Case {
    const char* text;
    int reads;  // free-form integers to read; the last one fails
    long line;
    const char* reason;
  };
  const Case cases[] = {
      {"", 1, 1, "end of file"},
      {"1\n2\n", 3, 3, "end of file"},
      {"1\n\n \r\n", 2, 4, "end of file"},
      {"1\n15.0\n", 2, 2, "'15.0' is not an integer"},
      {"x\n", 1, 1, "'x' is not an integer"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    ff::RecordReader reader("joken.dat", c.text);
    try {
      for (int i = 0; i < c.reads; ++i) reader.ReadFreeInteger();
      ADD_FAILURE() << "no error";
    } catch (const tsl2::EngineError& error) {
      EXPECT_EQ(error.operation(), tsl2::FailedOperation::Read);
      EXPECT_EQ(error.file(), "joken.dat");
      EXPECT_EQ(error.line(), c.line);
      EXPECT_NE(std::string(error.what()).find(c.reason), std::string::npos) << error.what();
    }
  }
  ff::RecordReader reader("Mus.dat", "  1.0E-01   abc\n");
  const std::string_view row = reader.NextRecord();
  try {
    reader.FixedReal(row, 11, 13, 5);
    ADD_FAILURE() << "no error";
  } catch (const tsl2::EngineError& error) {
    EXPECT_EQ(error.line(), 1);
    EXPECT_NE(std::string(error.what()).find("columns 11 to 23"), std::string::npos)
        << error.what();
  }
}

TEST(FixedFormatReadTest, MissingFileOrFolderInTheWayIsAnOpenFailure) {
  const std::filesystem::path data = TSL2_TEST_DATA_DIR;
  const struct {
    std::filesystem::path file;
    const char* name;
    const char* reason;
  } cases[] = {{data / "no-such-file.dat", "no-such-file.dat", "does not exist"},
               {data / ".." / "data", "data", "folder"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      ff::RecordReader reader(c.file);
      ADD_FAILURE() << "no error";
    } catch (const tsl2::EngineError& error) {
      EXPECT_EQ(error.operation(), tsl2::FailedOperation::Open);
      EXPECT_EQ(error.file(), c.name);
      EXPECT_NE(std::string(error.what()).find(c.reason), std::string::npos) << error.what();
    }
  }
}

}  // namespace
