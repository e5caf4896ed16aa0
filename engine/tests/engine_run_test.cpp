#include "engine_run.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "engine_test_files.h"

namespace {

using tsl2::testing::CopyPhysicsFiles;
using tsl2::testing::JobLines;
using tsl2::testing::ReadFile;
using tsl2::testing::TempFolder;
using tsl2::testing::WriteFile;

const std::string OPENING =
    " \n"
    " <<< Monte Carlo Simulation >>>\n"
    " \n"
    "  ---  Push Enter key to start  ---\n";
const std::string CLOSING =
    " \n"
    "  -- Simulation result were saved --\n"
    "  ---  Push Enter key to finish  ---\n"
    " \n"
    "Stop - Program terminated.\n";

struct RunOutput {
  int status;
  std::string out;
  std::string err;
};

RunOutput RunInProcess(const TempFolder& folder, const std::string& input) {
  std::istringstream in(input);
  std::ostringstream out;
  std::ostringstream err;
  std::vector<tsl2::TimeOfDay> clock = {{8, 0, 5}, {15, 2, 7}};
  std::size_t reading = 0;
  const int status =
      tsl2::RunEngine(folder.path(), in, out, err, [&] { return clock.at(reading++); });
  return {status, out.str(), err.str()};
}

// Runs the real program in folder with input on standard input.
RunOutput RunProgram(const TempFolder& folder, const std::string& input) {
  WriteFile(folder.path() / "stdin.txt", input);
  const std::string command = "cd '" + folder.path().string() + "' && '" + TSL2_CALC_PATH +
                              "' < stdin.txt > stdout.txt 2> stderr.txt";
  const int raw = std::system(command.c_str());
  RunOutput result{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(folder.path() / "stdout.txt"),
                   ReadFile(folder.path() / "stderr.txt")};
  for (const char* name : {"stdin.txt", "stdout.txt", "stderr.txt"})
    std::filesystem::remove(folder.path() / name);
  return result;
}

void PrepareRun(const TempFolder& folder, const JobLines& job = JobLines::Small()) {
  CopyPhysicsFiles(folder.path());
  WriteFile(folder.path() / "joken.dat", job.Text());
}

// The progress lines between the two start-time blocks: none from a
// placeholder simulation, otherwise every (step, bin) pair in loop order.
void ExpectProgressLines(const std::string& middle, int topEnergyBin) {
  if (middle.empty()) return;
  std::string expected;
  for (int step = 1; step <= 9; ++step) {
    for (int bin = 10; bin <= topEnergyBin; ++bin)
      expected += tsl2::ProgressLine(step, bin, topEnergyBin) + "\n";
  }
  EXPECT_EQ(middle, expected);
}

TEST(EngineRunTest, FixedWidthConsoleLines) {
  EXPECT_EQ(tsl2::TimeLine(" Start time =", {9, 5, 0}), " Start time = 9: 5: 0");
  EXPECT_EQ(tsl2::TimeLine(" Start time =", {14, 30, 59}), " Start time =14:30:59");
  EXPECT_EQ(tsl2::TimeLine(" Finish time =", {15, 2, 7}), " Finish time =15: 2: 7");
  EXPECT_EQ(tsl2::ProgressLine(1, 10, 241), "(1/9)    10/241");
  EXPECT_EQ(tsl2::ProgressLine(9, 241, 241), "(9/9)   241/241");
  EXPECT_EQ(tsl2::ProgressLine(10, 1000, 301), "(*/9)   ***/301");
}

TEST(EngineRunTest, CompleteRunShowsTheWholeDialogue) {
  TempFolder folder;
  PrepareRun(folder);
  // Text typed before Enter is ignored like a bare Enter.
  const RunOutput run = RunInProcess(folder, "go\n\n");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const std::string head = OPENING + " Start time = 8: 0: 5\n \n";
  const std::string tail = " \n Start time = 8: 0: 5\n \n Finish time =15: 2: 7\n" + CLOSING;
  ASSERT_GE(run.out.size(), head.size() + tail.size());
  EXPECT_EQ(run.out.substr(0, head.size()), head);
  EXPECT_EQ(run.out.substr(run.out.size() - tail.size()), tail);
  ExpectProgressLines(run.out.substr(head.size(), run.out.size() - head.size() - tail.size()), 105);
}

TEST(EngineRunTest, InputFailuresShowNothingAndReportTheFile) {
  struct Case {
    const char* what;
    const char* remove;
    const char* report;
  };
  const Case cases[] = {
      {"no Mus.dat", "Mus.dat",
       "\nRun-time error 2: open failed (Mus.dat)\n- the file does not exist\n"},
      {"no ICRUSoft.dat", "ICRUSoft.dat",
       "\nRun-time error 2: open failed (ICRUSoft.dat)\n- the file does not exist\n"},
      {"no joken.dat", "joken.dat",
       "\nRun-time error 100: read failed (joken.dat, line 1)\n- end of file: the file does not "
       "exist\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    PrepareRun(folder);
    std::filesystem::remove(folder.path() / c.remove);
    const RunOutput run = RunInProcess(folder, "\n\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, c.report);
  }
}

TEST(EngineRunTest, JobsTheTransportCannotRunAreRefusedBeforeThePrompt) {
  struct Case {
    const char* what;
    std::size_t line;
    const char* text;
  };
  const Case cases[] = {
      {"focal spot inside the phantom", 2, "015.0"},  // (a + b) / 2 = 20 cm
      {"a bin share beyond 32 bits", 7, "9.000E+12"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    JobLines job = JobLines::Small();
    job.lines.at(c.line) = c.text;
    PrepareRun(folder, job);
    const RunOutput run = RunInProcess(folder, "\n\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("(joken.dat)"), std::string::npos) << run.err;
  }
}

TEST(EngineRunTest, EndOfInputAtEitherWaitIsAFailure) {
  TempFolder folder;
  PrepareRun(folder);
  const std::string report =
      "\nRun-time error 104: read failed (standard input)\n- end of input while waiting for the "
      "Enter key\n";
  const RunOutput first = RunInProcess(folder, "");
  EXPECT_EQ(first.status, 1);
  EXPECT_EQ(first.out, OPENING);
  EXPECT_EQ(first.err, report);
  const RunOutput second = RunInProcess(folder, "\n");
  EXPECT_EQ(second.status, 1);
  EXPECT_EQ(second.err, report);
  const std::string closing = CLOSING.substr(0, CLOSING.rfind("Stop"));
  ASSERT_GE(second.out.size(), closing.size());
  EXPECT_EQ(second.out.substr(second.out.size() - closing.size()), closing);
}

TEST(EngineProgramTest, MissingPhysicsFileEndsWithStatusOneAndNoOutput) {
  TempFolder folder;
  PrepareRun(folder);
  std::filesystem::remove(folder.path() / "Mus.dat");
  const RunOutput run = RunProgram(folder, "\n\n");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "\nRun-time error 2: open failed (Mus.dat)\n- the file does not exist\n");
}

TEST(EngineProgramTest, CompleteRunWithTwoEnterPresses) {
  TempFolder folder;
  PrepareRun(folder);
  const RunOutput run = RunProgram(folder, "\n\n");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const std::regex pattern(
      " \n <<< Monte Carlo Simulation >>>\n \n  ---  Push Enter key to start  ---\n"
      " Start time =([ 1-2][0-9]:[ 0-5][0-9]:[ 0-5][0-9])\n \n"
      "(\\([1-9]/9\\)   [ 0-9]{3}/105\n)*"
      " \n Start time =\\1\n \n Finish time =[ 1-2][0-9]:[ 0-5][0-9]:[ 0-5][0-9]\n"
      " \n  -- Simulation result were saved --\n  ---  Push Enter key to finish  ---\n \n"
      "Stop - Program terminated.\n");
  EXPECT_TRUE(std::regex_match(run.out, pattern)) << run.out;
}

TEST(EngineProgramTest, EndOfInputAtTheFirstWait) {
  TempFolder folder;
  PrepareRun(folder);
  const RunOutput run = RunProgram(folder, "");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, OPENING);  // flushed before the wait, nothing after it
  EXPECT_NE(run.err.find("standard input"), std::string::npos) << run.err;
}

TEST(EngineProgramTest, ArithmeticFailuresTrapBeforeTheFirstPrompt) {
  struct Case {
    const char* what;
    void (*change)(JobLines&);
    const char* kind;
  };
  const Case cases[] = {
      {"300 zero weights",
       [](JobLines& j) {
         for (int i = 1; i <= 300; ++i) j.SpectrumLine(i) = "0000.5  0.000E+00";
       },
       "(invalid operation)"},
      {"zero source distance", [](JobLines& j) { j.lines[2] = "000.0"; }, "(division by zero)"},
      {"overflowing energy", nullptr, "(overflow)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    JobLines job = JobLines::Small();
    if (c.change) c.change(job);
    PrepareRun(folder, job);
    if (!c.change) {
      // 3.0E+38 MeV becomes keV by a multiplication that overflows.
      std::string soft = ReadFile(folder.path() / "ICRUSoft.dat");
      soft.replace(soft.find("1.000E-03"), 9, "3.000E+38");
      WriteFile(folder.path() / "ICRUSoft.dat", soft);
    }
    const RunOutput run = RunProgram(folder, "\n\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("\nRun-time error 200: floating-point error ", 0), 0u) << run.err;
    EXPECT_NE(run.err.find(c.kind), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(")\n- "), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "run1.tsl2"));
  }
}

TEST(EngineProgramTest, FailuresAfterTheFirstWaitKeepTheLinesAlreadyShown) {
  // Standard output is a file here, so only the run's own flushing puts the
  // dialogue on disk before the process ends at the failure.
  struct Case {
    const char* what;
    void (*change)(const TempFolder&);
  };
  const Case cases[] = {
      {"a zero coefficient trapped in the transport",
       [](const TempFolder& folder) {
         std::string soft = ReadFile(folder.path() / "ICRUSoft.dat");
         soft.replace(soft.find("2.000E-02 ") + 10, 9, "0.000E+00");
         WriteFile(folder.path() / "ICRUSoft.dat", soft);
       }},
      {"too few histories for the air-kerma reference",
       [](const TempFolder& folder) {
         JobLines job = JobLines::Small();
         job.lines[7] = "1.000E+00";
         WriteFile(folder.path() / "joken.dat", job.Text());
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    PrepareRun(folder);
    c.change(folder);
    const RunOutput run = RunProgram(folder, "\n\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out.rfind(OPENING + " Start time =", 0), 0u) << run.out;
    EXPECT_EQ(run.out.find("Stop"), std::string::npos);
    EXPECT_EQ(run.err.rfind("\nRun-time error 200: floating-point ", 0), 0u) << run.err;
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "run1.tsl2"));
  }
}

}  // namespace
