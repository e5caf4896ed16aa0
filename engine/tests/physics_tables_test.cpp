#include "physics_tables.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine_error.h"
#include "engine_test_files.h"

namespace {

using tsl2::PhysicsTables;
using tsl2::testing::CopyPhysicsFiles;
using tsl2::testing::ReadFile;
using tsl2::testing::TempFolder;
using tsl2::testing::WriteFile;

std::vector<std::string> Lines(const std::filesystem::path& file) {
  std::vector<std::string> lines;
  const std::string text = ReadFile(file);
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

void WriteLines(const std::filesystem::path& file, const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  WriteFile(file, text);
}

TEST(PhysicsTablesTest, ReadsTheThreeFilesIntoTheirTables) {
  const PhysicsTables t = tsl2::ReadPhysicsTables(tsl2::testing::DataDir());
  EXPECT_EQ(t.SoftRowCount, 15);
  EXPECT_EQ(t.SoftEnergy[5], 10.0f);  // 1.000E-02 MeV
  EXPECT_EQ(t.SoftEnergy[15], 200.0f);
  EXPECT_EQ(t.SoftCoef1[1], 15.14f);  // row "1.000E-03 1.514E+01 1.345E-01 4.876E+03"
  EXPECT_EQ(t.SoftCoef2[1], 0.1345f);
  EXPECT_EQ(t.SoftCoef3[1], 4876.0f);
  EXPECT_EQ(t.FormX[2], 0.025f);  // row " 2.500E-02 6.21162E-02 1.78218E-01"
  EXPECT_EQ(t.CoherentCumulative[2], 0.0621162f);
  EXPECT_EQ(t.IncoherentS[2], 0.178218f);
  EXPECT_EQ(t.FormX[45], 13.07f);  // row " 1.307E+01 6.75000E+00 1.00000E+01"
  EXPECT_EQ(t.CoherentTotal, 6.75f);
  EXPECT_EQ(t.IncoherentSMax, 10.0f);
  EXPECT_EQ(t.AirMuTr[60], 0.15379f);  // line 60: " 3.000E-02  1.5379E-01"
  for (int i = 1; i <= 300; ++i) EXPECT_GT(t.FilterMu[i], 0.0f) << i;
}

TEST(PhysicsTablesTest, KeepsOnlyTheThirdFieldOfMusAndIgnoresLineTwoOfSoftTissue) {
  TempFolder folder;
  CopyPhysicsFiles(folder.path());
  const PhysicsTables before = tsl2::ReadPhysicsTables(folder.path());
  auto mus = Lines(folder.path() / "Mus.dat");
  mus[9] = " 9.999E+00  1.00000E+00  7.50000E-01  2.00000E+00  3.00000E+00";
  WriteLines(folder.path() / "Mus.dat", mus);
  auto soft = Lines(folder.path() / "ICRUSoft.dat");
  soft[1] = "  123.5 ";
  WriteLines(folder.path() / "ICRUSoft.dat", soft);
  const PhysicsTables after = tsl2::ReadPhysicsTables(folder.path());
  EXPECT_EQ(after.FilterMu[10], 0.75f);
  for (int i = 1; i <= 300; ++i) {
    if (i != 10) {
      EXPECT_EQ(after.FilterMu[i], before.FilterMu[i]) << i;
    }
  }
  EXPECT_EQ(after.SoftEnergy, before.SoftEnergy);
  EXPECT_EQ(after.SoftCoef3, before.SoftCoef3);
  EXPECT_EQ(after.IncoherentS, before.IncoherentS);
}

TEST(PhysicsTablesTest, FailuresNameFileAndLine) {
  struct Case {
    const char* what;
    const char* file;
    void (*change)(std::vector<std::string>&);
    tsl2::FailedOperation operation;
    long line;
    const char* reason;
  };
  using Op = tsl2::FailedOperation;
  const Case cases[] = {
      {"row count above the table", "ICRUSoft.dat", [](auto& l) { l[0] = "36"; }, Op::Read, 1,
       "outside 2 to 35"},
      {"negative row count", "ICRUSoft.dat", [](auto& l) { l[0] = "-1"; }, Op::Read, 1,
       "outside 2 to 35"},
      {"row count not an integer", "ICRUSoft.dat", [](auto& l) { l[0] = "15.5"; }, Op::Read, 1,
       "not an integer"},
      {"scattering rows missing", "ICRUSoft.dat", [](auto& l) { l.resize(50); }, Op::Read, 51,
       "end of file"},
      {"bad coefficient", "ICRUSoft.dat", [](auto& l) { l[4] = "2.000E-03 4.347E+0x"; }, Op::Read,
       5, "columns 10 to 19"},
      {"air table short", "AirMUtr.dat", [](auto& l) { l.pop_back(); }, Op::Read, 300,
       "end of file"},
      {"bad filter field", "Mus.dat", [](auto& l) { l[99][40] = 'z'; }, Op::Read, 100,
       "columns 37 to 49"},
      {"file missing", "Mus.dat", nullptr, Op::Open, 0, "does not exist"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    CopyPhysicsFiles(folder.path());
    if (c.change) {
      auto lines = Lines(folder.path() / c.file);
      c.change(lines);
      WriteLines(folder.path() / c.file, lines);
    } else {
      std::filesystem::remove(folder.path() / c.file);
    }
    try {
      tsl2::ReadPhysicsTables(folder.path());
      ADD_FAILURE() << "read without error";
    } catch (const tsl2::EngineError& error) {
      EXPECT_EQ(error.operation(), c.operation);
      EXPECT_EQ(error.file(), c.file);
      EXPECT_EQ(error.line(), c.line);
      EXPECT_NE(std::string(error.what()).find(c.reason), std::string::npos) << error.what();
    }
  }
}

}  // namespace
