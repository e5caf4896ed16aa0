// The simulation phase and the result phase, as the run sequence calls them.
#pragma once

#include <filesystem>
#include <ostream>

#include "conditions.h"
#include "dose_tally.h"
#include "physics_tables.h"
#include "random_generator.h"

namespace tsl2 {

// Runs the projection loop, writing one progress line per (step, bin) to
// progress. On return tally holds the raw sums.
void RunSimulation(const Conditions& conditions, const PhysicsTables& tables,
                   RandomGenerator& random, DoseTally& tally, std::ostream& progress);

// Normalises the tally and writes the result file into folder. Throws
// EngineError when the file cannot be written.
void WriteResult(const Conditions& conditions, DoseTally& tally,
                 const std::filesystem::path& folder);

}  // namespace tsl2
