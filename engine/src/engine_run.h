// The run sequence of TSL2-calc and its console dialogue.
#pragma once

#include <filesystem>
#include <functional>
#include <istream>
#include <ostream>
#include <string>

#include "engine_error.h"
#include "platform.h"

namespace tsl2 {

using ClockReader = std::function<TimeOfDay()>;

// Runs the engine once in folder: reads the physics tables and joken.dat,
// holds the dialogue on in/out, simulates, writes the result file. Returns
// the exit status: 0 after a complete run, 1 after a failure, whose report
// has then been written to err. Nothing reaches out before the inputs are
// read. out is switched to unit buffering for the run, so that every line is
// on its way before a wait or a trap.
int RunEngine(const std::filesystem::path& folder, std::istream& in, std::ostream& out,
              std::ostream& err, const ClockReader& clock = ReadLocalClock);

// The three-line report of a failure: an empty line, the error with its
// number, the failed operation and the file, and a line giving the reason.
std::string ErrorReport(const EngineError& error);

// " Start time = 9: 5: 0" and the like: label followed by I2:I2:I2.
std::string TimeLine(const char* label, const TimeOfDay& time);

// "(1/9)    10/241": the line written for each projection step and bin.
std::string ProgressLine(int angleStep, int energyBin, int topEnergyBin);

}  // namespace tsl2
