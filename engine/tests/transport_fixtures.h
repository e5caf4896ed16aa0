// Small, physically plausible inputs for the transport tests and the
// benchmark: water-like soft-tissue coefficients, an analytic form factor and
// scattering function, an aluminium-like filter, a 120 kV-like spectrum and
// the example scan geometry. Built in code so that no test depends on the
// data files delivered with the engine.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "conditions.h"
#include "physics_tables.h"

namespace tsl2::fixtures {

// Form factor F(x) = 10 / (1 + (x / X0)^2)^2; its square integrated over x^2
// has the closed form used for the cumulative column.
inline constexpr double FORM_X0 = 0.6;  // 1/angstrom
inline constexpr double FORM_Z = 10.0;  // electrons (water)
inline double CoherentCumulativeAt(double x) {
  const double t = x * x / (FORM_X0 * FORM_X0);
  return FORM_Z * FORM_Z * FORM_X0 * FORM_X0 / 3.0 * (1.0 - 1.0 / ((1 + t) * (1 + t) * (1 + t)));
}
inline double IncoherentSAtExact(double x) { return 10.0 * (1.0 - std::exp(-x / 0.35)); }

inline PhysicsTables MakeTables() {
  PhysicsTables t;
  // keV, coherent, incoherent, photoelectric (1/cm, water-like).
  const double rows[][4] = {
      {1, 1.4, 0.015, 4000},        {5, 0.45, 0.10, 40},          {10, 0.20, 0.155, 4.94},
      {15, 0.11, 0.17, 1.38},       {20, 0.069, 0.177, 0.562},    {30, 0.034, 0.183, 0.156},
      {40, 0.020, 0.182, 0.0624},   {50, 0.013, 0.180, 0.030},    {60, 0.0093, 0.176, 0.0168},
      {80, 0.0054, 0.169, 0.0065},  {100, 0.0035, 0.163, 0.0031}, {150, 0.0016, 0.150, 0.0009},
      {200, 0.0009, 0.137, 0.00043}};
  t.SoftRowCount = static_cast<int>(std::size(rows));
  for (int r = 1; r <= t.SoftRowCount; ++r) {
    t.SoftEnergy[r] = static_cast<float>(rows[r - 1][0]);
    t.SoftCoef1[r] = static_cast<float>(rows[r - 1][1]);
    t.SoftCoef2[r] = static_cast<float>(rows[r - 1][2]);
    t.SoftCoef3[r] = static_cast<float>(rows[r - 1][3]);
  }
  for (int r = 1; r <= FORM_ROWS; ++r) {
    const double q = (r - 1) / 44.0;
    const double x = 10.0 * q * q;  // dense at small x, where F and S change
    t.FormX[r] = static_cast<float>(x);
    t.CoherentCumulative[r] = static_cast<float>(CoherentCumulativeAt(x));
    t.IncoherentS[r] = static_cast<float>(IncoherentSAtExact(x));
  }
  t.IncoherentSMax = t.IncoherentS[FORM_ROWS];
  t.CoherentTotal = t.CoherentCumulative[FORM_ROWS];
  for (int bin = 1; bin <= 300; ++bin) {
    const double e = 0.5 * bin;
    t.FilterMu[bin] = static_cast<float>(0.36 + 7.0e4 / (e * e * e));  // aluminium-like
    t.AirMuTr[bin] = static_cast<float>(0.025 + 4.0e3 / (e * e * e));
  }
  return t;
}

// The example job: SAD 60 cm, beam 40 x 10 cm, a = b = 20 cm, a bow-tie-like
// filtration table and a 120 kV-like spectrum (bins 20 to 240).
inline Conditions MakeExampleConditions(float historyCount) {
  Conditions c;
  const std::string comment = "example_W120kV.csv";
  const std::string result = "run1.tsl2";
  c.ConditionComment.fill(' ');
  c.ResultFileName.fill(' ');
  std::copy(comment.begin(), comment.end(), c.ConditionComment.begin());
  std::copy(result.begin(), result.end(), c.ResultFileName.begin());
  c.SourceAxisDistance = 60;
  c.BeamWidthRotation = 40;
  c.BeamWidthAxial = 10;
  c.PhantomA = 20;
  c.PhantomB = 20;
  c.HistoryCount = historyCount;
  const float table[][2] = {{0, 0.25f}, {5, 0.3f}, {10, 0.6f}, {15, 1.0f}, {20, 1.5f}};
  c.FilterRowCount = 4;
  for (int r = 1; r <= 5; ++r) {
    c.FilterPosition[r] = table[r - 1][0];
    c.FilterThickness[r] = table[r - 1][1];
  }
  c.FilterPosition[6] = c.FilterPosition[5] + 5.0f;
  c.FilterThickness[6] = c.FilterThickness[5];
  for (int bin = 20; bin <= 240; ++bin) {
    const double e = 0.5 * bin;
    c.Spectrum[bin] = static_cast<float>((120.0 - e + 0.5) * std::exp(-std::pow(25.0 / e, 3.0)));
  }
  // The derived quantities, as the conditions reader forms them.
  c.HalfPhantomA = c.PhantomA * 0.5f;
  c.HalfPhantomB = c.PhantomB * 0.5f;
  c.TopEnergyBin = 241;
  float sum = 0;
  for (int bin = 1; bin <= 300; ++bin) sum += c.Spectrum[bin];
  c.SpectrumSum = sum;
  for (int bin = 1; bin <= 300; ++bin) c.Spectrum[bin] /= sum;
  c.HalfBeamRotation = c.BeamWidthRotation * 0.5f;
  c.HalfBeamAxial = c.BeamWidthAxial * 0.5f;
  c.FanAngle = 2.0f * std::atan(c.HalfBeamRotation / c.SourceAxisDistance);
  c.ConeHalfAngle = std::atan(c.HalfBeamAxial / c.SourceAxisDistance);
  c.PhantomHalfLength = 20;
  return c;
}

// A source of chosen uniform numbers that counts what it hands out; past the
// script it returns a tiny value, which sends the photon on a flight long
// enough to leave any phantom.
class ScriptedUniforms {
 public:
  explicit ScriptedUniforms(std::vector<float> values) : values_(std::move(values)) {}
  float NextUniform() {
    const float u = drawn_ < values_.size() ? values_[drawn_] : 1e-30f;
    ++drawn_;
    return u;
  }
  std::size_t drawn() const { return drawn_; }

 private:
  std::vector<float> values_;
  std::size_t drawn_ = 0;
};

}  // namespace tsl2::fixtures
