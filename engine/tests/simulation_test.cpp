#include "simulation.h"

#include <cstdint>
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine_error.h"
#include "engine_test_files.h"
#include "result_file.h"
#include "transport_fixtures.h"

namespace tsl2 {
namespace {

using fixtures::MakeExampleConditions;
using testing::ReadFile;
using testing::TempFolder;

std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

constexpr std::uint64_t EXAMPLE_FINGERPRINT = 0xf54ea1512c2a7a27ull;

// A whole run of the example job with a few thousand histories per step.
struct ExampleRun {
  static constexpr float HISTORIES = 30000;
  TempFolder folder;
  std::string progress;
  bool floatingPointExceptionRaised = false;
  std::string file;

  ExampleRun() {
    const Conditions conditions = MakeExampleConditions(HISTORIES);
    const PhysicsTables tables = fixtures::MakeTables();
    RandomGenerator random;
    DoseTally tally;
    std::ostringstream out;
    std::feclearexcept(FE_ALL_EXCEPT);
    RunSimulation(conditions, tables, random, tally, out);
    WriteResult(conditions, tally, folder.path());
    floatingPointExceptionRaised = std::fetestexcept(FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW) != 0;
    progress = out.str();
    file = ReadFile(folder.path() / "run1.tsl2");
  }
};

const ExampleRun& Example() {
  static const ExampleRun run;
  return run;
}

// Value of (component, cellX, cellY, cellZ) from the file's dose rows.
double ValueAt(const std::vector<std::string>& lines, int component, int cx, int cy, int cz) {
  const std::string& row = lines[7 + (component - 1) * 4000 + (cy - 1) * 100 + (cz - 1)];
  return std::strtod(row.substr((cx - 1) * 9, 9).c_str(), nullptr);
}

TEST(Simulation, ProgressLinesForEveryStepAndBin) {
  const std::vector<std::string> lines = [] {
    std::vector<std::string> v;
    std::istringstream in(Example().progress);
    for (std::string line; std::getline(in, line);) v.push_back(line);
    return v;
  }();
  ASSERT_EQ(lines.size(), 9u * 232u);
  EXPECT_EQ(lines.front(), "(1/9)    10/241");
  EXPECT_EQ(lines[231], "(1/9)   241/241");
  EXPECT_EQ(lines.back(), "(9/9)   241/241");
}

TEST(Simulation, RunsWithoutArithmeticFaults) {
  EXPECT_FALSE(Example().floatingPointExceptionRaised);
}

TEST(Simulation, ResultFileLayout) {
  const std::string& file = Example().file;
  ASSERT_EQ(file.size(), static_cast<std::size_t>(RESULT_FILE_BYTES));
  ASSERT_EQ(file.substr(file.size() - 2), "\r\n");
  const std::vector<std::string> lines = LinesOf(file);
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(RESULT_FILE_LINES));
  const std::string header[] = {
      "example_W120kV.csv            ", " 60.0", " 40.0", " 10.0", " 20.0", " 20.0", " .30E+05"};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(lines[i], header[i]) << "line " << i + 1;
  for (std::size_t i = 7; i < lines.size(); ++i) {
    ASSERT_EQ(lines[i].size(), 1800u) << "line " << i + 1;
    for (int v = 0; v < 200; ++v) {
      const std::string field = lines[i].substr(v * 9, 9);
      // Not negative: one leading blank, then .ddd E sign dd.
      ASSERT_TRUE(field[0] == ' ' && field[1] == '.' && field[5] == 'E' &&
                  (field[6] == '+' || field[6] == '-'))
          << "line " << i + 1 << " value " << v + 1 << ": '" << field << "'";
    }
  }
}

TEST(Simulation, DoseIsPhysicallySensible) {
  const std::vector<std::string> lines = LinesOf(Example().file);
  double nearSurface = 0, nearCentre = 0, outside = 0, primaryFarOut = 0, scatteredFarOut = 0;
  int surfaceCells = 0, centreCells = 0;
  for (int cy = 1; cy <= 40; ++cy) {
    for (int cz = 1; cz <= 100; ++cz) {
      for (int cx = 1; cx <= 200; ++cx) {
        const double primary = ValueAt(lines, 1, cx, cy, cz);
        const double scattered = ValueAt(lines, 2, cx, cy, cz);
        ASSERT_GE(primary, 0.0);
        ASSERT_GE(scattered, 0.0);
        // A cell whose corner nearest the centre is outside the racetrack
        // (A = B = 10) lies wholly outside it.
        const double x0 = 0.1 * (cx - 1), z0 = 0.1 * (cz - 1);
        if (x0 > 10 && std::hypot(x0 - 10, z0) > 10) outside += primary + scattered;
        if (cy <= 8) {  // |Y| < 4 cm, inside the beam everywhere
          if (cz >= 91 && cx <= 50) {
            nearSurface += primary;
            ++surfaceCells;
          }
          if (cz <= 10 && cx <= 10) {
            nearCentre += primary;
            ++centreCells;
          }
        }
        // Unscattered photons stay within the cone: |Y| < 80 cm * 5 / 60.
        if (cy >= 15) {
          primaryFarOut += primary;
          scatteredFarOut += scattered;
        }
      }
    }
  }
  EXPECT_EQ(outside, 0.0);
  EXPECT_EQ(primaryFarOut, 0.0);
  EXPECT_GT(scatteredFarOut, 0.0);
  EXPECT_GT(nearSurface / surfaceCells, 2.0 * (nearCentre / centreCells));
}

TEST(Simulation, SameInputsGiveTheSameFile) {
  const Conditions conditions = MakeExampleConditions(ExampleRun::HISTORIES);
  RandomGenerator random;
  DoseTally tally;
  std::ostringstream out;
  RunSimulation(conditions, fixtures::MakeTables(), random, tally, out);
  TempFolder folder;
  WriteResult(conditions, tally, folder.path());
  EXPECT_TRUE(ReadFile(folder.path() / "run1.tsl2") == Example().file);
}

// FNV-1a over the bytes: a fingerprint of the whole result file.
std::uint64_t Fingerprint(const std::string& bytes) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  return hash;
}

// The example run as recorded when the transport was finished. Any change to the
// sampling, the order of the draws, the scoring or the rendering moves it, so
// a speed-up that claims to change nothing must leave it in place. Update the
// constant only for a change of results that was meant and checked.
TEST(Simulation, ExampleRunMatchesItsRecordedResult) {
  EXPECT_EQ(Fingerprint(Example().file), EXAMPLE_FINGERPRINT)
      << std::hex << Fingerprint(Example().file);
}

TEST(Simulation, TopBinPastTheTablesOnlyPrintsItsProgressLine) {
  struct Case {
    int positiveBin;
    std::size_t progressLines;
    const char* lastLine;
  } cases[] = {{300, 9 * 292, "(9/9)   301/301"}, {8, 0, ""}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.positiveBin);
    Conditions c = MakeExampleConditions(9000);
    c.Spectrum.fill(0);
    c.Spectrum[k.positiveBin] = 1;
    c.TopEnergyBin = k.positiveBin + 1;
    RandomGenerator random;
    DoseTally tally;
    std::ostringstream out;
    RunSimulation(c, fixtures::MakeTables(), random, tally, out);
    std::vector<std::string> lines;
    std::istringstream in(out.str());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), k.progressLines);
    if (!lines.empty()) {
      EXPECT_EQ(lines.back(), k.lastLine);
    }
    // 1000 histories per step at 150 keV (about 22 through the reference
    // window in all); none below 5 keV.
    EXPECT_EQ(tally.AirKermaReference > 0, k.positiveBin == 300);
  }
}

// --- Normalisation and the file, from a tally filled by hand ----------------

TEST(ResultFile, NormalisesAndPlacesEveryElement) {
  const Conditions conditions = MakeExampleConditions(9e8f);
  DoseTally tally;
  tally.AirKermaReference = 2.0;
  tally.at(2, 1, 1, 1) = 0.08;        // / 0.005 / 16 = 1
  tally.at(1, 200, 40, 100) = 0.004;  // 0.05
  tally.at(1, 1, 1, 1) = 7.9968e-5;   // .9996E-03 rounds up to .100E-02
  TempFolder folder;
  // An older, longer file of the same name leaves nothing behind.
  std::ofstream(folder.path() / "run1.tsl2") << std::string(20000000, 'x');
  WriteResult(conditions, tally, folder.path());
  const std::string file = ReadFile(folder.path() / "run1.tsl2");
  ASSERT_EQ(file.size(), static_cast<std::size_t>(RESULT_FILE_BYTES));
  const std::vector<std::string> lines = LinesOf(file);
  EXPECT_EQ(lines[6], " .90E+09");
  EXPECT_EQ(lines[4007].substr(0, 9), " .100E+01");  // line 4008
  EXPECT_EQ(lines[4006].substr(1791), " .500E-01");  // line 4007, last value
  EXPECT_EQ(lines[7].substr(0, 18), " .100E-02 .000E+00");
  EXPECT_EQ(tally.at(2, 1, 1, 1), 1.0);
}

TEST(ResultFile, ZeroReferenceIsAFloatingPointErrorAndWritesNothing) {
  const Conditions conditions = MakeExampleConditions(9e8f);
  DoseTally tally;
  tally.at(1, 5, 5, 5) = 1.0;
  TempFolder folder;
  try {
    WriteResult(conditions, tally, folder.path());
    ADD_FAILURE() << "no error";
  } catch (const EngineError& e) {
    EXPECT_EQ(e.operation(), FailedOperation::FloatingPoint);
  }
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "run1.tsl2"));
}

TEST(ResultFile, UncreatableFileIsAnOpenError) {
  Conditions conditions = MakeExampleConditions(9e8f);
  DoseTally tally;
  tally.AirKermaReference = 1.0;
  TempFolder folder;
  try {
    WriteResult(conditions, tally, folder.path() / "no-such-folder");
    ADD_FAILURE() << "no error";
  } catch (const EngineError& e) {
    EXPECT_EQ(e.operation(), FailedOperation::Open);
    EXPECT_NE(e.file().find("run1.tsl2"), std::string::npos);
  }
}

TEST(ResultFile, FullDiskIsAWriteError) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  DoseTally tally;
  tally.AirKermaReference = 1.0;
  NormaliseDose(tally);
  try {
    WriteResultFile("/dev/full", MakeExampleConditions(9e8f), tally);
    ADD_FAILURE() << "no error";
  } catch (const EngineError& e) {
    EXPECT_EQ(e.operation(), FailedOperation::Write);
  }
}

}  // namespace
}  // namespace tsl2
