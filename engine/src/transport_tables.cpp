#include "transport_tables.h"

#include <algorithm>

#include "conditions.h"

namespace tsl2 {

void RowSearch::Build(const float* values, int lastRow, double range) {
  lastRow_ = std::max(lastRow, 2);
  scale_ = range > 0 ? static_cast<float>(BUCKETS / range) : 0.0f;
  start_[0] = 2;
  for (int k = 1; k < BUCKETS; ++k) {
    // A little below the bucket's lower end, so that rounding of key * scale
    // can never place a key under the end its start row was chosen for.
    const double lower = (k - 0.01) * range / BUCKETS;
    int j = 2;
    while (j < lastRow_ && !(values[j] > lower)) ++j;
    start_[k] = static_cast<std::uint8_t>(j);
  }
}

TransportTables PrepareTransportTables(const PhysicsTables& tables) {
  TransportTables t;
  t.SoftRows = std::clamp(tables.SoftRowCount, 2, MAX_SOFT_ROWS);
  t.SoftEnergy = tables.SoftEnergy;

  // The highest row a photon of at most 150 keV can reach.
  int reachable = 2;
  while (reachable < t.SoftRows && !(tables.SoftEnergy[reachable] > 150.0f)) ++reachable;
  const std::array<const std::array<float, MAX_SOFT_ROWS + 1>*, 3> columns = {
      &tables.SoftCoef1, &tables.SoftCoef2, &tables.SoftCoef3};
  for (int r = 1; r <= reachable; ++r) {
    t.LnEnergy[r] = std::log(tables.SoftEnergy[r]);
    for (int c = 0; c < 3; ++c) t.LnCoef[c][r] = std::log((*columns[c])[r]);
    if (r >= 2) {
      t.DeltaLnEnergy[r] = t.LnEnergy[r] - t.LnEnergy[r - 1];
      for (int c = 0; c < 3; ++c) t.DeltaLnCoef[c][r] = t.LnCoef[c][r] - t.LnCoef[c][r - 1];
    }
  }
  t.EnergySearch = RowSearch(tables.SoftEnergy, reachable, 160.0);

  t.FormX = tables.FormX;
  t.IncoherentS = tables.IncoherentS;
  t.CoherentCumulative = tables.CoherentCumulative;
  t.IncoherentSMax = tables.IncoherentSMax;
  t.CoherentTotal = tables.CoherentTotal;
  for (int j = 2; j <= FORM_ROWS; ++j) {
    t.DeltaFormX[j] = tables.FormX[j] - tables.FormX[j - 1];
    t.DeltaCumulative[j] = tables.CoherentCumulative[j] - tables.CoherentCumulative[j - 1];
    // A repeated x would make this slope 0 / 0; such an interval can never be
    // chosen by the search (no x is below its end and at or above its start).
    t.IncoherentSlope[j] =
        t.DeltaFormX[j] != 0.0f
            ? (tables.IncoherentS[j] - tables.IncoherentS[j - 1]) / t.DeltaFormX[j]
            : 0.0f;
  }
  t.FormSearch = RowSearch(tables.FormX, FORM_ROWS, 10.0);
  t.CumulativeSearch =
      RowSearch(tables.CoherentCumulative, FORM_ROWS, std::max(0.0f, tables.CoherentTotal));

  t.FilterMu = tables.FilterMu;
  t.AirMuTr = tables.AirMuTr;
  // Bins below 10 (under 5 keV) never start a history.
  for (int bin = 10; bin <= ENERGY_BINS; ++bin) {
    t.BinCoefficients[bin] = t.CoefficientsAt(static_cast<float>(bin) * 0.5f);
  }
  return t;
}

}  // namespace tsl2
