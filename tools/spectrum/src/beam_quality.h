// Half-value layers, mean energy and air kerma of a spectrum.
#pragma once

#include "energy_grid.h"

namespace tessalin::spectrum {

struct BeamQuality {
  double Hvl1 = 0;        // mm Al: halves the air kerma
  double Hvl2 = 0;        // mm Al: halves it again
  double MeanEnergy = 0;  // keV, fluence-weighted
};

// fluence times exp(-mu thickness) bin by bin; mu in 1/cm, thickness in cm.
BinArray Attenuate(const BinArray& fluence, const BinArray& mu, double thickness);

// Air kerma in arbitrary units: sum of fluence x energy x mu_tr/rho.
double AirKerma(const BinArray& fluence, const BinArray& airMuTr);

// Fluence-weighted mean energy, keV.
double MeanEnergy(const BinArray& fluence);

// The aluminium thickness (cm) that brings the air kerma of fluence down to
// fraction (0 < fraction < 1) of its value. Throws SpectrumError when the
// spectrum has no air kerma.
double AluminiumForKermaFraction(const BinArray& fluence, const BinArray& aluminiumMu,
                                 const BinArray& airMuTr, double fraction);

// HVL1, HVL2 and mean energy.
BeamQuality MeasureBeamQuality(const BinArray& fluence, const BinArray& aluminiumMu,
                               const BinArray& airMuTr);

}  // namespace tessalin::spectrum
