// Placeholder until the transport lands: the run sequence can already be
// exercised end to end.
#include "simulation.h"

namespace tsl2 {

void RunSimulation(const Conditions&, const PhysicsTables&, RandomGenerator&, DoseTally&,
                   std::ostream&) {}

void WriteResult(const Conditions&, DoseTally&, const std::filesystem::path&) {}

}  // namespace tsl2
