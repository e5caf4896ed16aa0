// Photon transport in the uniform soft-tissue phantom: free flights,
// photoelectric absorption, incoherent and coherent scattering, the direction
// change, and the end of a history.
//
// The samplers are templates over the source of uniform numbers (anything with
// float NextUniform()), so that they inline into the history loop and a test
// can feed them chosen numbers and count the draws. The order of the draws is
// part of the behaviour: a run repeats itself only if it never changes.
#pragma once

#include <algorithm>
#include <cmath>

#include "dose_scoring.h"
#include "dose_tally.h"
#include "phantom_geometry.h"
#include "random_generator.h"
#include "transport_tables.h"

namespace tsl2 {

inline constexpr float EnergyCutoff = 5.0f;            // keV
inline constexpr float ElectronRestEnergy = 511.0f;    // keV
inline constexpr float EnergyToInverseLength = 12.4f;  // keV * angstrom
inline constexpr float IncoherentTestLimit = 10.0f;    // 1/angstrom

// The photon being tracked. (DirSinZ cos phi, DirSinZ sin phi, DirCosZ) is its
// direction, with DirSinZ never negative.
struct PhotonState {
  float PosX = 0;  // cm
  float PosY = 0;  // cm
  float PosZ = 0;  // cm
  float DirCosZ = 1;
  float DirSinZ = 0;
  float DirCosPhi = 1;
  float DirSinPhi = 0;
  float PhotonEnergy = 0;  // keV
  float PhotonWeight = 1;  // filtration weight, fixed for the history
  int DoseComponent = 1;   // 1 until the first scattering, then 2
};

// How a history ended.
enum class HistoryEnd { BelowCutoff, Escaped, CoordinateUnchanged, Absorbed };

// A scattering's outcome: the new energy and the polar angle's cosine and sine.
struct ScatterOutcome {
  float ScatteredEnergy = 0;  // keV
  float CosTheta = 1;
  float SinTheta = 0;
  float ScatterAngle = 0;  // rad (incoherent only)
};

// Keeps a cosine inside [-1, 1]: rounding can push it just past either end,
// where 1 - cos^2 would turn negative under the square root.
inline float LimitCosine(float c) { return std::clamp(c, -1.0f, 1.0f); }

// Incoherent scattering at energy (keV): Klein-Nishina by Kahn's rejection
// method, each accepted trial then tested against S(x) / S(max) when x < 10.
// Draws three numbers per Kahn trial, plus one for each S(x) test.
template <class Uniforms>
ScatterOutcome SampleIncoherent(const TransportTables& tables, float energy, Uniforms& random) {
  const float alpha = ElectronRestEnergy / energy;
  const float threshold = (alpha + 2.0f) / (alpha * 9.0f + 2.0f);
  float theta;
  for (;;) {
    const float u1 = random.NextUniform();
    const float u2 = random.NextUniform();
    const float u3 = random.NextUniform();
    float eta;  // energy before over energy after
    bool accepted;
    if (u1 > threshold) {
      eta = (alpha + 2.0f) / ((1.0f - u2) * 2.0f + alpha);
      const float t = alpha - eta * alpha + 1.0f;
      accepted = 0.5f * (t * t + 1.0f / eta) > u3;
    } else {
      eta = (2.0f / alpha) * u2 + 1.0f;
      accepted = 4.0f * (1.0f / eta - 1.0f / (eta * eta)) > u3;
    }
    if (!accepted) continue;
    float cosTheta = 1.0f - ((eta * alpha) / alpha - 1.0f) * (ElectronRestEnergy / energy);
    if (cosTheta == 0.0f) {
      theta = Pi * 0.5f;
    } else {
      cosTheta = LimitCosine(cosTheta);
      theta = std::atan(std::sqrt(1.0f - cosTheta * cosTheta) / cosTheta);
      if (theta < 0.0f) theta = Pi + theta;
    }
    // Binding: electrons that cannot take the momentum transfer do not scatter.
    const float x = std::sin(theta * 0.5f) * energy / EnergyToInverseLength;
    if (x < IncoherentTestLimit) {
      const float s = tables.IncoherentSAt(x);
      const float u = random.NextUniform();
      if (!(s / tables.IncoherentSMax >= u)) continue;
    }
    break;
  }
  ScatterOutcome outcome;
  outcome.ScatterAngle = theta;
  outcome.CosTheta = std::cos(theta);
  outcome.SinTheta = std::sin(theta);
  outcome.ScatteredEnergy =
      energy / ((1.0f - outcome.CosTheta) * (energy / ElectronRestEnergy) + 1.0f);
  return outcome;
}

// Coherent scattering at energy (keV): x from the cumulative squared form
// factor, then the Thomson factor (1 + cos^2) / 2 by rejection. Draws two
// numbers per trial, one when x lies beyond what the energy can reach.
template <class Uniforms>
ScatterOutcome SampleCoherent(const TransportTables& tables, float energy, Uniforms& random) {
  float cosTheta;
  for (;;) {
    const float r = random.NextUniform() * tables.CoherentTotal;
    const float x = tables.CoherentXAt(r);
    const float v = x * EnergyToInverseLength / energy;  // sin(theta / 2)
    if (v > 1.0f) continue;
    cosTheta = 1.0f - v * v * 2.0f;
    const float u = random.NextUniform();
    if (u * 2.0f <= cosTheta * cosTheta + 1.0f) break;
  }
  ScatterOutcome outcome;
  outcome.ScatteredEnergy = energy;
  outcome.CosTheta = LimitCosine(cosTheta);
  outcome.SinTheta = std::sqrt(1.0f - outcome.CosTheta * outcome.CosTheta);
  return outcome;
}

// Turns the direction by the polar angle (cosTheta, sinTheta) and an azimuth
// drawn uniformly; one draw.
template <class Uniforms>
void ChangeDirection(PhotonState& photon, float cosTheta, float sinTheta, Uniforms& random) {
  const float phi = random.NextUniform() * Pi * 2.0f;
  const float cosPhi = std::cos(phi);
  const float sinPhi = std::sin(phi);
  const float w = photon.DirCosZ;
  const float s = photon.DirSinZ;
  const float w2 = LimitCosine(s * cosPhi * sinTheta + w * cosTheta);
  const float s2 = std::sqrt(1.0f - w2 * w2);
  if (s2 == 0.0f) {
    photon.DirSinPhi = 0.0f;
    photon.DirCosPhi = 1.0f;
  } else if (s == 0.0f) {
    // Travelling along Z: the old azimuth is undefined, so phi sets it.
    photon.DirSinPhi = sinPhi;
    photon.DirCosPhi = -cosPhi;
  } else {
    const float deltaSin = sinPhi * sinTheta / s2;
    const float deltaCos = (cosTheta - w * w2) / (s * s2);
    const float oldSin = photon.DirSinPhi;
    const float oldCos = photon.DirCosPhi;
    photon.DirSinPhi = deltaCos * oldSin + deltaSin * oldCos;
    photon.DirCosPhi = oldCos * deltaCos - oldSin * deltaSin;
  }
  photon.DirCosZ = w2;
  photon.DirSinZ = s2;
}

// Follows the photon from its position until the history ends, scoring into
// tally. start holds the coefficients at the photon's energy (from the bin
// table), so the first flight needs no lookup.
template <class Uniforms>
HistoryEnd TransportPhoton(PhotonState& photon, const TransportTables& tables,
                           const PhantomGeometry& geometry, Uniforms& random, DoseScorer& scorer,
                           FlightCoefficients start) {
  FlightCoefficients coefficients = start;
  float coefficientEnergy = photon.PhotonEnergy;
  for (;;) {
    if (photon.PhotonEnergy < EnergyCutoff) return HistoryEnd::BelowCutoff;
    // The coefficients depend on the energy alone; a coherent scattering
    // keeps it, so the previous lookup still holds.
    if (photon.PhotonEnergy != coefficientEnergy) {
      coefficients = tables.CoefficientsAt(photon.PhotonEnergy);
      coefficientEnergy = photon.PhotonEnergy;
    }
    float u1;
    float u2;
    do {
      u1 = random.NextUniform();
      u2 = random.NextUniform();
    } while (!(u1 > 0.0f));
    const float stepLength = -(std::log(u1) / coefficients.MuTotal);  // cm
    const float x = stepLength * photon.DirSinZ * photon.DirCosPhi + photon.PosX;
    const float y = photon.DirSinPhi * photon.DirSinZ * stepLength + photon.PosY;
    const float z = photon.DirCosZ * stepLength + photon.PosZ;
    // A flight too short to move every coordinate ends the history: this is
    // how a photon sent straight along an axis is stopped.
    if (x == photon.PosX || y == photon.PosY || z == photon.PosZ) {
      return HistoryEnd::CoordinateUnchanged;
    }
    if (!geometry.Inside(x, y, z)) return HistoryEnd::Escaped;
    photon.PosX = x;
    photon.PosY = y;
    photon.PosZ = z;
    const CellIndex cell = CellOf(x, y, z);

    ScatterOutcome outcome;
    if (u2 < coefficients.P1) {
      scorer.Deposit(cell, photon.PhotonEnergy, photon.PhotonWeight, photon.DoseComponent);
      return HistoryEnd::Absorbed;
    } else if (u2 < coefficients.P2) {
      outcome = SampleCoherent(tables, photon.PhotonEnergy, random);
    } else {
      outcome = SampleIncoherent(tables, photon.PhotonEnergy, random);
      scorer.Deposit(cell, photon.PhotonEnergy - outcome.ScatteredEnergy, photon.PhotonWeight,
                     photon.DoseComponent);
    }
    photon.PhotonEnergy = outcome.ScatteredEnergy;
    if (photon.PhotonEnergy < EnergyCutoff) return HistoryEnd::BelowCutoff;
    ChangeDirection(photon, outcome.CosTheta, outcome.SinTheta, random);
    photon.DoseComponent = 2;
  }
}

// The same for a single history, looking up the coefficients at the
// photon's energy first; every deposit is in tally on return.
template <class Uniforms>
HistoryEnd TransportPhoton(PhotonState& photon, const TransportTables& tables,
                           const PhantomGeometry& geometry, Uniforms& random, DoseTally& tally) {
  DoseScorer scorer(tally);
  return TransportPhoton(photon, tables, geometry, random, scorer,
                         tables.CoefficientsAt(photon.PhotonEnergy));
}

}  // namespace tsl2
