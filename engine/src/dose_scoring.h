// What a history adds to the tallies: deposits by folded cell and component,
// and the one air-kerma reference contribution of a ray through the window.
#pragma once

#include "dose_tally.h"
#include "phantom_geometry.h"

namespace tsl2 {

// Adds energy (keV) times weight to a cell under component (1 primary, 2
// scattered); a position off the grid scores nothing.
inline void Deposit(DoseTally& tally, const CellIndex& cell, float energy, float weight,
                    int component) {
  if (!cell.onGrid) return;
  // The amount is formed in single precision; only the running sum is double.
  const float amount = energy * weight;
  tally.at(component, cell.CellX, cell.CellY, cell.CellZ) += static_cast<double>(amount);
}

// The same for the cell of the position (x, y, z) (cm).
inline void Deposit(DoseTally& tally, float x, float y, float z, float energy, float weight,
                    int component) {
  Deposit(tally, CellOf(x, y, z), energy, weight, component);
}

// Adds deposits to a tally a few deposits late. The tally is far larger than
// the caches, so each deposit's cell is first asked for (prefetched) and only
// added to once several later events have been simulated; by then the cell
// is at hand. The adds happen in the order the deposits were made, so the
// sums are exactly those of adding at once. Flushed when destroyed.
class DoseScorer {
 public:
  explicit DoseScorer(DoseTally& tally) : tally_(tally) {}
  ~DoseScorer() { Flush(); }
  DoseScorer(const DoseScorer&) = delete;
  DoseScorer& operator=(const DoseScorer&) = delete;

  // Scores energy (keV) times weight in a cell under component (1 primary, 2
  // scattered); a position off the grid scores nothing.
  void Deposit(const CellIndex& cell, float energy, float weight, int component) {
    if (!cell.onGrid) return;
    // The amount is formed in single precision; only the running sum is double.
    const float amount = energy * weight;
    double* target = &tally_.at(component, cell.CellX, cell.CellY, cell.CellZ);
    __builtin_prefetch(target, 1);
    Pending& slot = pending_[next_];
    if (slot.target != nullptr) *slot.target += static_cast<double>(slot.amount);
    slot.target = target;
    slot.amount = amount;
    next_ = (next_ + 1) % DEPTH;
  }

  // Applies every waiting deposit, oldest first.
  void Flush() {
    for (int i = 0; i < DEPTH; ++i) {
      Pending& slot = pending_[(next_ + i) % DEPTH];
      if (slot.target != nullptr) *slot.target += static_cast<double>(slot.amount);
      slot.target = nullptr;
    }
  }

  DoseTally& tally() { return tally_; }

 private:
  static constexpr int DEPTH = 8;
  struct Pending {
    double* target = nullptr;
    float amount = 0;
  };
  DoseTally& tally_;
  Pending pending_[DEPTH];
  int next_ = 0;
};

// Rays passing the rotation centre within 0.5 cm laterally and 0..0.5 cm
// axially (measured at the source-axis distance) form the reference window.
inline bool InReferenceWindow(float lateralOffset, float axialOffset) {
  return lateralOffset <= 0.5f && axialOffset <= 0.5f;
}

// Adds the free-in-air kerma contribution of one history: the starting
// energy (keV) times its filtration weight times the air energy-transfer
// coefficient of its bin.
inline void AddAirKerma(DoseTally& tally, float airMuTr, float photonEnergy, float weight) {
  const float amount = airMuTr * photonEnergy * weight;
  tally.AirKermaReference += static_cast<double>(amount);
}

}  // namespace tsl2
