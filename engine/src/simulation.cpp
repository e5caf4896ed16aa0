#include "simulation.h"

#include <memory>

#include "engine_error.h"
#include "engine_run.h"
#include "photon_transport.h"
#include "result_file.h"
#include "source_sampling.h"
#include "transport_tables.h"

namespace tsl2 {

void RunSimulation(const Conditions& conditions, const PhysicsTables& tables,
                   RandomGenerator& random, DoseTally& tally, std::ostream& progress) {
  CheckConditionsForSimulation(conditions);
  // Prepared once; the history loop below allocates nothing.
  const auto transport = std::make_unique<const TransportTables>(PrepareTransportTables(tables));
  const BeamSource source(conditions);
  PhotonState photon;
  DoseScorer scorer(tally);  // flushed into tally on return
  for (int angleStep = 1; angleStep <= PROJECTION_STEPS; ++angleStep) {
    const float projectionAngle = ProjectionAngleOf(angleStep);
    const FocalSpot focal = FocalSpotAt(projectionAngle, conditions.SourceAxisDistance);
    for (int energyBin = FIRST_ENERGY_BIN; energyBin <= conditions.TopEnergyBin; ++energyBin) {
      progress << ProgressLine(angleStep, energyBin, conditions.TopEnergyBin) << std::endl;
      const std::int32_t histories = BinHistories(conditions, energyBin);
      if (histories < 1) continue;
      const FlightCoefficients start = transport->BinCoefficients[energyBin];
      for (std::int32_t history = 0; history < histories; ++history) {
        const HistoryStart h = StartHistory(source, *transport, projectionAngle, focal, energyBin,
                                            random, photon, tally);
        if (h.entered) TransportPhoton(photon, *transport, source.geometry, random, scorer, start);
      }
    }
  }
}

void WriteResult(const Conditions& conditions, DoseTally& tally,
                 const std::filesystem::path& folder) {
  NormaliseDose(tally);
  const std::string name = conditions.ResultName();
  if (name.empty()) {
    throw EngineError(FailedOperation::Open, "joken.dat",
                      "the result file has no name: line 2 of joken.dat is blank");
  }
  WriteResultFile(folder / name, conditions, tally);
}

}  // namespace tsl2
