// The command-line tool end to end, and the reading of the engine's files.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include <sys/wait.h>

#include "engine_coefficients.h"
#include "fixed_format.h"
#include "spectrum_error.h"
#include "test_support.h"

namespace tessalin::spectrum {
namespace {

struct RunResult {
  int Status;
  std::string Output;  // standard output and standard error
};

RunResult RunTool(const std::string& arguments) {
  const std::string command = std::string("'") + SPECTRUM_TOOL_PATH + "' " + arguments + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  RunResult result{-1, ""};
  if (pipe == nullptr) return result;
  char buffer[512];
  while (fgets(buffer, sizeof buffer, pipe) != nullptr) result.Output += buffer;
  const int status = pclose(pipe);
  result.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

TEST(Tool, WritesTheFileAndReportsTheBeam) {
  testing::ScratchFolder folder;
  const auto file = folder.Path() / "W120kV_body.csv";
  const RunResult run = RunTool("--kv 120 --data '" + std::string(SPECTRUM_ENGINE_DATA_DIR) +
                                "' -o '" + file.string() + "'");
  ASSERT_EQ(run.Status, 0) << run.Output;
  for (const char* line :
       {"Central HVL1:         7.59 mm Al", "Central HVL2:", "Central mean energy:  63.1 keV",
        "Outermost direction:  20 cm, 41.632 mm Al, air kerma 0.09", "Mus.dat"}) {
    EXPECT_NE(run.Output.find(line), std::string::npos) << line << "\n" << run.Output;
  }
  const auto loaded = testing::LoadLikeSetupWindow(testing::ReadText(file));
  EXPECT_EQ(loaded.LastDirection, 20);
  EXPECT_EQ(loaded.FieldsLeftOver, 0u);
}

TEST(Tool, FailsClearlyAndWritesNothing) {
  testing::ScratchFolder folder;
  const auto file = folder.Path() / "x.csv";
  const std::string data =
      " --data '" + std::string(SPECTRUM_ENGINE_DATA_DIR) + "' -o '" + file.string() + "'";
  const std::pair<std::string, const char*> cases[] = {
      {"--kv 200" + data, "outside the TASMICS model's range"},
      {"--positions 0:26:1" + data, "at most 26"},
      {"--data '" + folder.Path().string() + "' -o '" + file.string() + "'", "Mus.dat"},
  };
  for (const auto& [arguments, message] : cases) {
    SCOPED_TRACE(arguments);
    const RunResult run = RunTool(arguments);
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Output.find(message), std::string::npos) << run.Output;
    EXPECT_FALSE(std::filesystem::exists(file));
  }
  const RunResult help = RunTool("--help");
  EXPECT_EQ(help.Status, 0);
  EXPECT_NE(help.Output.find("Usage: tessalin-spectrum"), std::string::npos);
}

TEST(EngineCoefficients, FixedFieldsReadAsTheEngineReadsThem) {
  struct Case {
    const char* Field;
    int Decimals;
    double Value;
  };
  const Case cases[] = {
      {" 1.23450E-02", 5, 0.012345},
      {"  7.500E-01 ", 3, 0.75},
      {"     ", 4, 0.0},
      {"   12345", 5, 0.12345},
      {"1.5-03", 4, 0.0015},
      {" -2.5D+01", 3, -25.0},
      {"1 2.5", 1, 12.5},
      {" .182058E+05", 6, 18205.8},
  };
  // The tool reads through the engine's parser: these are the forms its
  // files and hand-made ones take.
  tsl2::fixed_format::FieldError error;
  for (const Case& c : cases) {
    float value = -1;
    EXPECT_TRUE(tsl2::fixed_format::ParseFixedReal(c.Field, c.Decimals, value, error)) << c.Field;
    EXPECT_EQ(value, static_cast<float>(c.Value)) << c.Field;
  }
  for (const char* bad : {"abc", "1.0E", "1.0E+0x", "--1"}) {
    float value = 0;
    EXPECT_FALSE(tsl2::fixed_format::ParseFixedReal(bad, 3, value, error)) << bad;
  }
}

TEST(EngineCoefficients, ReadsColumnThreeOfMusAndTwoOfAirMUtrAndFindsTheirFolder) {
  testing::ScratchFolder folder;
  const auto data = folder.Path() / "top" / "data";
  std::filesystem::create_directories(data);
  std::filesystem::create_directories(folder.Path() / "top" / "build" / "tools");
  std::string mus, air;
  for (int i = 1; i <= 300; ++i) {
    char line[80];
    std::snprintf(line, sizeof line, "%10.3E%13.5E%13.5E%13.5E%13.5E\r\n", 0.5 * i, 9.0, 0.001 * i,
                  8.0, 7.0);
    mus += line;
    std::snprintf(line, sizeof line, "%9.3E%12.4E\r\n", 0.5 * i, 0.0002 * i);
    air += line;
  }
  testing::WriteText(data / "Mus.dat", mus);
  testing::WriteText(data / "AirMUtr.dat", air);
  const EngineCoefficients read = ReadEngineCoefficients(data);
  EXPECT_EQ(read.AluminiumMu[0], static_cast<float>(0.001));
  EXPECT_EQ(read.AluminiumMu[299], static_cast<float>(0.3));
  EXPECT_EQ(read.AirMuTr[149], static_cast<float>(0.03));

  EXPECT_EQ(FindEngineDataFolder(folder.Path() / "top" / "build" / "tools"), data);
  EXPECT_EQ(FindEngineDataFolder(data), data);  // beside the tool, as in the working folder
  EXPECT_EQ(FindEngineDataFolder(folder.Path()), std::nullopt);

  // A short file or a bad field names the file and the line.
  testing::WriteText(data / "Mus.dat", mus.substr(0, mus.size() / 2));
  try {
    ReadEngineCoefficients(data);
    ADD_FAILURE() << "no error";
  } catch (const SpectrumError& error) {
    EXPECT_NE(std::string(error.what()).find("Mus.dat: ends at line 150"), std::string::npos)
        << error.what();
  }
  std::string broken = mus;
  broken.replace(mus.find("\r\n") + 2 + 23, 13, "  not a value");
  testing::WriteText(data / "Mus.dat", broken);
  try {
    ReadEngineCoefficients(data);
    ADD_FAILURE() << "no error";
  } catch (const SpectrumError& error) {
    EXPECT_NE(std::string(error.what()).find("Mus.dat, line 2, columns 24-36"), std::string::npos)
        << error.what();
  }
}

}  // namespace
}  // namespace tessalin::spectrum
