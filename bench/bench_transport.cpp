// Speed of the simulation on a fixed job: the example scan (SAD 60 cm, beam
// 40 x 10 cm, a = b = 20 cm) with a 120 kV-like spectrum, on the engine's
// physics data. Prints histories per second for each run and their median,
// then the time to normalise and write the result file.
//
//   tsl2_bench_transport [histories per run = 5e6] [runs = 5] [data folder]
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <streambuf>
#include <vector>

#include "engine_error.h"
#include "physics_tables.h"
#include "result_file.h"
#include "simulation.h"
#include "source_sampling.h"
#include "transport_fixtures.h"

namespace {

class NullBuffer : public std::streambuf {
 protected:
  int overflow(int c) override { return c; }
};

double Seconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

// Processor time of this process (s): on a machine shared with other work it
// measures the code rather than the queue for a core.
double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         1e-6 * static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tsl2;
  const float histories = argc > 1 ? std::strtof(argv[1], nullptr) : 5e6f;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
  const std::filesystem::path dataFolder = argc > 3 ? argv[3] : TSL2_DATA_DIR;

  PhysicsTables tables;
  try {
    tables = ReadPhysicsTables(dataFolder);
    std::printf("physics data: %s\n", dataFolder.c_str());
  } catch (const EngineError& e) {
    std::printf("physics data not readable (%s): using the test fixtures' tables\n", e.what());
    tables = fixtures::MakeTables();
  }
  const Conditions conditions = fixtures::MakeExampleConditions(histories);
  long long perRun = 0;
  for (int bin = FIRST_ENERGY_BIN; bin <= conditions.TopEnergyBin; ++bin) {
    perRun += BinHistories(conditions, bin);
  }
  perRun *= PROJECTION_STEPS;

  NullBuffer nullBuffer;
  std::ostream progress(&nullBuffer);
  std::vector<double> rates;
  std::vector<double> cpuRates;
  DoseTally tally;
  for (int run = 0; run < runs; ++run) {
    tally = DoseTally();
    RandomGenerator random;
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = CpuSeconds();
    RunSimulation(conditions, tables, random, tally, progress);
    const double cpu = CpuSeconds() - cpuStart;
    const double seconds = Seconds(std::chrono::steady_clock::now() - start);
    rates.push_back(static_cast<double>(perRun) / seconds);
    cpuRates.push_back(static_cast<double>(perRun) / cpu);
    std::printf(
        "run %d: %lld histories in %.3f s (%.3f s processor): %.3f million histories/s "
        "(%.3f per processor second)\n",
        run + 1, perRun, seconds, cpu, rates.back() / 1e6, cpuRates.back() / 1e6);
  }
  auto median = [](std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
  };
  std::printf("median: %.3f million histories/s (%.3f per processor second)\n", median(rates) / 1e6,
              median(cpuRates) / 1e6);

  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / "tsl2_bench_result.tsl2";
  const auto start = std::chrono::steady_clock::now();
  NormaliseDose(tally);
  const auto normalised = std::chrono::steady_clock::now();
  WriteResultFile(file, conditions, tally);
  const auto written = std::chrono::steady_clock::now();
  std::printf("normalise: %.3f s, write %s: %.3f s\n", Seconds(normalised - start), file.c_str(),
              Seconds(written - normalised));
  std::filesystem::remove(file);
  return 0;
}
