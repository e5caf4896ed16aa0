#include "conditions.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <string>

#include "engine_error.h"
#include "engine_test_files.h"

namespace {

using tsl2::Conditions;
using tsl2::testing::JobLines;
using tsl2::testing::TempFolder;
using tsl2::testing::WriteFile;

Conditions ReadJob(const TempFolder& folder, const std::string& text) {
  WriteFile(folder.path() / "joken.dat", text);
  return tsl2::ReadConditions(folder.path() / "joken.dat");
}

TEST(ConditionsTest, ReadsTheBundledExampleJob) {
  const Conditions c =
      tsl2::ReadConditions(tsl2::testing::DataDir() / ".." / ".." / ".." / "example" / "joken.dat");
  EXPECT_EQ(c.Comment(), "W120kV_body.csv               ");
  EXPECT_EQ(c.ResultName(), "W120kV_body.tsl2");
  EXPECT_EQ(c.SourceAxisDistance, 60.0f);
  EXPECT_EQ(c.BeamWidthRotation, 40.0f);
  EXPECT_EQ(c.BeamWidthAxial, 10.0f);
  EXPECT_EQ(c.PhantomA, 20.0f);
  EXPECT_EQ(c.PhantomB, 20.0f);
  EXPECT_EQ(c.HistoryCount, 2.0e7f);
  EXPECT_EQ(c.FilterRowCount, 20);
  EXPECT_EQ(c.FilterPosition[21], 20.0f);
  EXPECT_EQ(c.FilterPosition[22], 25.0f);
  EXPECT_EQ(c.FilterThickness[22], c.FilterThickness[21]);
  EXPECT_EQ(c.TopEnergyBin, 241);
  // Derived quantities, computed in single precision.
  EXPECT_EQ(c.HalfPhantomA, 10.0f);
  EXPECT_EQ(c.HalfPhantomB, 10.0f);
  EXPECT_EQ(c.HalfBeamRotation, 20.0f);
  EXPECT_EQ(c.HalfBeamAxial, 5.0f);
  EXPECT_EQ(c.FanAngle, 2.0f * std::atan(20.0f / 60.0f));
  EXPECT_EQ(c.ConeHalfAngle, std::atan(5.0f / 60.0f));
  EXPECT_EQ(c.PhantomHalfLength, 20.0f);
  float sum = 0;
  for (int i = 1; i <= 300; ++i) sum += c.Spectrum[i];
  EXPECT_NEAR(sum, 1.0f, 1e-5f);
}

TEST(ConditionsTest, FiltrationTableGetsRowZeroAndTheAppendedRow) {
  TempFolder folder;
  JobLines job = JobLines::Small();
  job.lines[8] = "001";
  job.lines[9] = "000.0  00.2000";
  job.lines[10] = "010.0  00.3500";
  const Conditions c = ReadJob(folder, job.Text());
  const float expected[4][2] = {{0, 0}, {0, 0.2f}, {10, 0.35f}, {15, 0.35f}};
  for (int r = 0; r < 4; ++r) {
    SCOPED_TRACE(r);
    EXPECT_EQ(c.FilterPosition[r], expected[r][0]);
    EXPECT_EQ(c.FilterThickness[r], expected[r][1]);
  }
  // Without decimal points the fields imply one and four decimals.
  job.lines[10] = "  125   2000";
  const Conditions implied = ReadJob(folder, job.Text());
  EXPECT_EQ(implied.FilterPosition[2], 12.5f);
  EXPECT_EQ(implied.FilterThickness[2], 0.2f);
}

TEST(ConditionsTest, TextLinesAreCutOrPaddedToThirtyBytes) {
  TempFolder folder;
  JobLines job = JobLines::Small();
  job.lines[0] = "a_spectrum_file_name_of_31.csv";  // 30 bytes
  job.lines[0] += "x";
  job.lines[1] = std::string(26, 'r') + ".tsl2";
  Conditions c = ReadJob(folder, job.Text());
  EXPECT_EQ(c.Comment(), "a_spectrum_file_name_of_31.csv");
  EXPECT_EQ(c.ResultName(), std::string(26, 'r') + ".tsl");
  job.lines[1] = "short name.tsl2   ";
  c = ReadJob(folder, job.Text("\n"));  // LF-only lines read the same
  EXPECT_EQ(c.ResultName(), "short name.tsl2");
  EXPECT_EQ(std::string(c.ResultFileName.begin(), c.ResultFileName.end()),
            "short name.tsl2               ");
}

TEST(ConditionsTest, HistoryCountAndFreeFormLines) {
  TempFolder folder;
  JobLines job = JobLines::Small();
  job.lines[2] = "  60, 99";  // first value taken, rest ignored
  job.lines[7] = "9.000E+08";
  job.lines[8] = "  15  ";  // an integer with blanks around it
  job.lines.insert(job.lines.begin() + 9, 14, "000.0  00.9000");
  const Conditions c = ReadJob(folder, job.Text());
  EXPECT_EQ(c.SourceAxisDistance, 60.0f);
  EXPECT_EQ(c.HistoryCount, 900000000.0f);
  EXPECT_EQ(c.FilterRowCount, 15);
}

TEST(ConditionsTest, TopEnergyBinAndNormalisation) {
  TempFolder folder;
  const struct {
    int first, last, top;
  } cases[] = {{20, 240, 241}, {10, 300, 301}, {1, 1, 2}, {150, 150, 151}};
  for (const auto& range : cases) {
    SCOPED_TRACE(range.first);
    JobLines job = JobLines::Small();
    for (int i = 1; i <= 300; ++i) {
      const bool in = i >= range.first && i <= range.last;
      char line[32];
      std::snprintf(line, sizeof line, "%06.1f  %.3E", 0.5 * i, in ? 0.25 + 0.001 * i : 0.0);
      job.SpectrumLine(i) = line;
    }
    const Conditions c = ReadJob(folder, job.Text());
    EXPECT_EQ(c.TopEnergyBin, range.top);
    float sum = 0;
    for (int i = 1; i <= 300; ++i) {
      if (i < range.first || i > range.last) {
        EXPECT_EQ(c.Spectrum[i], 0.0f) << i;
      }
      sum += c.Spectrum[i];
    }
    EXPECT_NEAR(sum, 1.0f, 1e-5f);
    EXPECT_EQ(c.Spectrum[301], 0.0f);
  }
}

TEST(ConditionsTest, ZeroSumAndZeroDistanceRaiseTheTrappedExceptions) {
  // The traps are off in this process, so the flags show what would trap.
  Conditions c;
  c.SourceAxisDistance = 60;
  std::feclearexcept(FE_ALL_EXCEPT);
  tsl2::DeriveQuantities(c);  // 300 zero weights: 0 / 0
  EXPECT_TRUE(std::fetestexcept(FE_INVALID));
  Conditions d;
  d.Spectrum[50] = 1;
  d.BeamWidthRotation = 40;
  d.SourceAxisDistance = 0;
  std::feclearexcept(FE_ALL_EXCEPT);
  tsl2::DeriveQuantities(d);
  EXPECT_TRUE(std::fetestexcept(FE_DIVBYZERO));
  Conditions e;
  e.Spectrum[50] = 1;
  e.SourceAxisDistance = 60;
  std::feclearexcept(FE_ALL_EXCEPT);
  tsl2::DeriveQuantities(e);
  EXPECT_FALSE(std::fetestexcept(FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW));
  std::feclearexcept(FE_ALL_EXCEPT);
}

TEST(ConditionsTest, FailuresNameTheLine) {
  struct Case {
    const char* what;
    void (*change)(JobLines&);
    long line;
    const char* reason;
  };
  const Case cases[] = {
      {"empty file", [](JobLines& j) { j.lines.clear(); }, 1, "end of file"},
      {"ends before the last spectrum line", [](JobLines& j) { j.lines.pop_back(); }, 311,
       "end of file"},
      {"count not an integer", [](JobLines& j) { j.lines[8] = "1.0"; }, 9,
       "'1.0' is not an integer"},
      {"count above 25", [](JobLines& j) { j.lines[8] = "026"; }, 9, "outside 0 to 25"},
      {"negative count", [](JobLines& j) { j.lines[8] = "-1"; }, 9, "outside 0 to 25"},
      {"distance not a number", [](JobLines& j) { j.lines[2] = "sixty"; }, 3,
       "'sixty' is not a number"},
      {"table field not a number", [](JobLines& j) { j.lines[10] = "010.0  0x.3500"; }, 11,
       "columns 6 to 14"},
      {"spectrum weight not a number", [](JobLines& j) { j.SpectrumLine(7) = "0003.5  abc"; }, 18,
       "'abc'"},
      {"value too large for a single", [](JobLines& j) { j.lines[7] = "1.0E+39"; }, 8, "too large"},
      {"blank result name", [](JobLines& j) { j.lines[1] = "   "; }, 2, "no result file name"},
  };
  TempFolder folder;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    JobLines job = JobLines::Small();
    c.change(job);
    try {
      ReadJob(folder, job.Text());
      ADD_FAILURE() << "read without error";
    } catch (const tsl2::EngineError& error) {
      EXPECT_EQ(error.operation(), tsl2::FailedOperation::Read);
      EXPECT_EQ(error.file(), "joken.dat");
      EXPECT_EQ(error.line(), c.line);
      EXPECT_NE(std::string(error.what()).find(c.reason), std::string::npos) << error.what();
    }
  }
}

TEST(ConditionsTest, MissingFileFailsAtTheFirstReadAndIsNotCreated) {
  TempFolder folder;
  try {
    tsl2::ReadConditions(folder.path() / "joken.dat");
    ADD_FAILURE() << "read without error";
  } catch (const tsl2::EngineError& error) {
    EXPECT_EQ(error.operation(), tsl2::FailedOperation::Read);
    EXPECT_EQ(error.line(), 1);
  }
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "joken.dat"));
}

}  // namespace
