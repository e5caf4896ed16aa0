#include "engine_run.h"

#include <memory>
#include <new>
#include <string>

#include "conditions.h"
#include "dose_tally.h"
#include "fixed_format.h"
#include "physics_tables.h"
#include "random_generator.h"
#include "simulation.h"
#include "source_sampling.h"

namespace tsl2 {

namespace {

// Every console line ends in a line feed only: the console is not a file.
constexpr char BLANK_LINE[] = " \n";

void WaitForEnter(std::istream& in, std::ostream& out) {
  out.flush();
  std::string ignored;
  if (!std::getline(in, ignored)) {
    throw EngineError(FailedOperation::Input, "standard input",
                      "end of input while waiting for the Enter key");
  }
}

const char* OperationText(FailedOperation operation, int& number) {
  switch (operation) {
    case FailedOperation::Open:
      number = 2;
      return "open";
    case FailedOperation::Read:
      number = 100;
      return "read";
    case FailedOperation::Write:
      number = 101;
      return "write";
    case FailedOperation::Close:
      number = 103;
      return "close";
    case FailedOperation::Input:
      number = 104;
      return "read";
    case FailedOperation::FloatingPoint:
      number = 200;
      return "floating-point operation";
  }
  number = 1;
  return "operation";
}

// Restores the caller's stream flags however the run ends.
class UnitBuffered {
 public:
  explicit UnitBuffered(std::ostream& out) : out_(out), flags_(out.flags()) {
    out_.setf(std::ios::unitbuf);
  }
  ~UnitBuffered() {
    out_.flush();
    out_.flags(flags_);
  }
  UnitBuffered(const UnitBuffered&) = delete;
  UnitBuffered& operator=(const UnitBuffered&) = delete;

 private:
  std::ostream& out_;
  std::ios::fmtflags flags_;
};

void Run(const std::filesystem::path& folder, std::istream& in, std::ostream& out,
         const ClockReader& clock) {
  // The run's state, owned here. The tally is allocated before the first
  // prompt so that nothing is allocated while histories run.
  RandomGenerator random;
  const PhysicsTables tables = ReadPhysicsTables(folder);
  const Conditions conditions = ReadConditions(folder / "joken.dat");
  // A job the transport cannot run is refused now, not after the user has
  // pressed Enter.
  CheckConditionsForSimulation(conditions);
  auto tally = std::make_unique<DoseTally>();

  out << BLANK_LINE << " <<< Monte Carlo Simulation >>>\n"
      << BLANK_LINE << "  ---  Push Enter key to start  ---\n";
  WaitForEnter(in, out);

  const TimeOfDay start = clock();
  out << TimeLine(" Start time =", start) << '\n' << BLANK_LINE;

  RunSimulation(conditions, tables, random, *tally, out);

  out << BLANK_LINE << TimeLine(" Start time =", start) << '\n' << BLANK_LINE;
  const TimeOfDay finish = clock();
  out << TimeLine(" Finish time =", finish) << '\n';

  WriteResult(conditions, *tally, folder);

  out << BLANK_LINE << "  -- Simulation result were saved --\n"
      << "  ---  Push Enter key to finish  ---\n"
      << BLANK_LINE;
  WaitForEnter(in, out);
  out << "Stop - Program terminated.\n";
}

}  // namespace

std::string TimeLine(const char* label, const TimeOfDay& time) {
  using fixed_format::FormatI;
  return std::string(label) + FormatI(time.Hour, 2) + ":" + FormatI(time.Minute, 2) + ":" +
         FormatI(time.Second, 2);
}

std::string ProgressLine(int angleStep, int energyBin, int topEnergyBin) {
  using fixed_format::FormatI;
  return "(" + FormatI(angleStep, 1) + "/9)   " + FormatI(energyBin, 3) + "/" +
         FormatI(topEnergyBin, 3);
}

std::string ErrorReport(const EngineError& error) {
  int number = 0;
  const char* operation = OperationText(error.operation(), number);
  std::string where = error.file();
  if (error.line() > 0) where += ", line " + std::to_string(error.line());
  std::string report = "\nRun-time error " + std::to_string(number) + ": " + operation + " failed";
  if (!where.empty()) report += " (" + where + ")";
  report += "\n- " + std::string(error.what()) + "\n";
  return report;
}

int RunEngine(const std::filesystem::path& folder, std::istream& in, std::ostream& out,
              std::ostream& err, const ClockReader& clock) {
  UnitBuffered unitBuffered(out);
  try {
    Run(folder, in, out, clock);
    return 0;
  } catch (const EngineError& error) {
    out.flush();
    err << ErrorReport(error) << std::flush;
  } catch (const std::bad_alloc&) {
    out.flush();
    err << "\nRun-time error 203: memory allocation failed\n- not enough memory for the run's "
           "tables\n"
        << std::flush;
  } catch (const std::exception& error) {
    out.flush();
    err << "\nRun-time error 1: operation failed\n- " << error.what() << "\n" << std::flush;
  }
  return 1;
}

}  // namespace tsl2
