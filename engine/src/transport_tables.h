// Interaction data prepared once per run for the photon transport: logarithms
// and differences of the table rows, bucket indices for the row searches and
// the coefficients at every starting energy. Every value here is the one the
// lookup formulas would compute on the spot, so the preparation changes the
// speed of a run, never its results.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>

#include "physics_tables.h"

namespace tsl2 {

// Finds, in rows 1..lastRow of an array, the first row j >= 2 whose value is
// greater than a key; a key beyond the table gives lastRow, so that the caller
// extrapolates from the last two rows instead of reading past them. Buckets
// over [0, range) give a row at which the scan may start: every row before it
// holds a value at or below the bucket's lower end, so the rows skipped could
// never have stopped the scan, whether or not the column increases.
class RowSearch {
 public:
  static constexpr int BUCKETS = 1024;

  RowSearch() = default;
  template <std::size_t N>
  RowSearch(const std::array<float, N>& values, int lastRow, double range) {
    Build(values.data(), lastRow, range);
  }

  template <std::size_t N>
  int Find(const std::array<float, N>& values, float key) const {
    const float position = key * scale_;
    int bucket = 0;
    if (position >= 1.0f) {
      bucket = position < static_cast<float>(BUCKETS) ? static_cast<int>(position) : BUCKETS - 1;
    }
    int j = start_[bucket];
    while (j < lastRow_ && !(values[j] > key)) ++j;
    return j;
  }

  int lastRow() const { return lastRow_; }

 private:
  void Build(const float* values, int lastRow, double range);

  float scale_ = 0;  // buckets per unit of the key
  int lastRow_ = 2;
  std::array<std::uint8_t, BUCKETS> start_{};
};

// The three coefficients at one energy, reduced to what the flight needs.
struct FlightCoefficients {
  float MuTotal = 0;  // 1/cm
  float P1 = 0;       // photoelectric share: u2 below it absorbs
  float P2 = 0;       // photoelectric plus coherent share
};

struct TransportTables {
  // Energy rows 1..SoftRows (keV); logarithms as singles.
  int SoftRows = 2;
  std::array<float, MAX_SOFT_ROWS + 1> LnEnergy{};
  std::array<float, MAX_SOFT_ROWS + 1> DeltaLnEnergy{};          // row j: ln E(j) - ln E(j-1)
  std::array<std::array<float, MAX_SOFT_ROWS + 1>, 3> LnCoef{};  // coherent, incoherent, photo
  std::array<std::array<float, MAX_SOFT_ROWS + 1>, 3> DeltaLnCoef{};
  std::array<float, MAX_SOFT_ROWS + 1> SoftEnergy{};
  RowSearch EnergySearch;

  // Momentum-transfer rows 1..45.
  std::array<float, FORM_ROWS + 1> FormX{};       // 1/angstrom
  std::array<float, FORM_ROWS + 1> DeltaFormX{};  // row j: FormX(j) - FormX(j-1)
  std::array<float, FORM_ROWS + 1> IncoherentS{};
  std::array<float, FORM_ROWS + 1> IncoherentSlope{};  // dS/dx on the interval ending at j
  std::array<float, FORM_ROWS + 1> CoherentCumulative{};
  std::array<float, FORM_ROWS + 1> DeltaCumulative{};
  float IncoherentSMax = 0;
  float CoherentTotal = 0;
  RowSearch FormSearch;
  RowSearch CumulativeSearch;

  // Per energy bin 1..300: coefficients at 0.5 * bin keV, and the bin tables.
  std::array<FlightCoefficients, 301> BinCoefficients{};
  std::array<float, 301> FilterMu{};  // 1/cm
  std::array<float, 301> AirMuTr{};

  // Coefficients at energy (keV) by log-log interpolation between the row
  // pair the search finds.
  FlightCoefficients CoefficientsAt(float energy) const {
    const int j = EnergySearch.Find(SoftEnergy, energy);
    const float f = (std::log(energy) - LnEnergy[j - 1]) / DeltaLnEnergy[j];
    const float muCoherent = std::exp(DeltaLnCoef[0][j] * f + LnCoef[0][j - 1]);
    const float muIncoherent = std::exp(DeltaLnCoef[1][j] * f + LnCoef[1][j - 1]);
    const float muPhoto = std::exp(DeltaLnCoef[2][j] * f + LnCoef[2][j - 1]);
    FlightCoefficients c;
    c.MuTotal = (muIncoherent + muCoherent) + muPhoto;
    c.P1 = muPhoto / c.MuTotal;
    c.P2 = (muCoherent + muPhoto) / c.MuTotal;
    return c;
  }

  // S(x) by linear interpolation, for 0 <= x < 10.
  float IncoherentSAt(float x) const {
    const int j = FormSearch.Find(FormX, x);
    return IncoherentSlope[j] * (x - FormX[j - 1]) + IncoherentS[j - 1];
  }

  // Inverts the cumulative coherent column: x for a cumulative value r.
  float CoherentXAt(float r) const {
    const int j = CumulativeSearch.Find(CoherentCumulative, r);
    return DeltaFormX[j] * (r - CoherentCumulative[j - 1]) / DeltaCumulative[j] + FormX[j - 1];
  }
};

// Prepares the lookups from the tables as read. Rows that no photon of the run
// can reach (energies above the first row past 150 keV) are not touched, so a
// zero coefficient there does not stop the run.
TransportTables PrepareTransportTables(const PhysicsTables& tables);

}  // namespace tsl2
