// Interaction data for TSL2-calc's three physics files, computed from
// xraylib's cross sections, and the fixed-column text of those files.
#pragma once

#include <string>
#include <vector>

namespace physics_data {

// Energies of the per-bin files: line i stands for 0.5 * i keV.
inline constexpr int BIN_COUNT = 300;
inline constexpr double BIN_WIDTH = 0.5;  // keV

// Upper limit of the energy rows of ICRUSoft.dat.
inline constexpr int MAX_SOFT_ROWS = 35;
inline constexpr int FORM_ROWS = 45;

// The lowest and highest photon energies the transport looks up (keV).
inline constexpr double LOOKUP_MIN_ENERGY = 5.0;
inline constexpr double LOOKUP_MAX_ENERGY = 150.0;

// The largest error the transport's log-log interpolation of the stored
// coefficients may make against xraylib between 5 and 150 keV.
inline constexpr double INTERPOLATION_TOLERANCE = 0.002;

// A material as xraylib sees it: elements, mass fractions and a density.
struct Material {
  std::string name;
  std::vector<int> elements;
  std::vector<double> massFractions;
  double density = 0;  // g/cm^3
};

// ICRU four-component soft tissue at 1.00 g/cm^3 (xraylib's NIST list).
Material SoftTissue();
// Dry air near sea level (xraylib's NIST list).
Material DryAir();
// The four columns of Mus.dat after the energy: water, aluminium, copper, titanium.
std::vector<Material> FilterMaterials();

// Linear coefficients of soft tissue at E (keV), 1/cm.
struct SoftCoefficients {
  double coherent = 0;
  double incoherent = 0;
  double photoelectric = 0;
};
SoftCoefficients SoftTissueCoefficients(double energyKeV);

// Squared form factor and incoherent scattering function of a material per
// unit mass: sum of (w_i / A_i) F_i(x)^2 and sum of (w_i / A_i) S_i(x), mol/g,
// x = sin(theta/2)/lambda in 1/angstrom.
double MixtureFormFactorSquared(const Material& material, double x);
double MixtureScatteringFunction(const Material& material, double x);

// integral from 0 to x of F^2(x') d(x'^2), by Simpson's rule, x in 1/angstrom.
double CoherentCumulativeAt(const Material& material, double x);

// Mass energy-transfer coefficient of a material at E (keV), cm^2/g:
// photoabsorption less the escaping K fluorescence plus incoherent scattering
// times the mean fraction of the photon energy given to the electron.
double MassEnergyTransfer(const Material& material, double energyKeV);

// Total linear attenuation coefficient (coherent included) at E (keV), 1/cm.
double LinearAttenuation(const Material& material, double energyKeV);

// The chosen tables, values as computed (rounding happens when written).
struct SoftTable {
  std::vector<double> energyKeV;
  std::vector<SoftCoefficients> coefficients;
  std::vector<double> formX;               // 1/angstrom
  std::vector<double> coherentCumulative;  // mol/g / angstrom^2
  std::vector<double> incoherentS;         // mol/g
};

// Energy rows: the first at 5 keV, the last at 160 keV, the ones between
// placed greedily as far apart as the interpolation tolerance allows.
std::vector<double> ChooseSoftEnergies();
// Scattering rows: 0 first, exactly 10 and then 15 last, the others placed
// where the linear interpolation of S(x) and A(x) needs them.
std::vector<double> ChooseFormX();

SoftTable MakeSoftTable();

// File texts, CR LF line ends.
std::string IcruSoftText(const SoftTable& table);
std::string AirMuTrText();
std::string MusText();

// Ew.d text of value in exactly w characters, with no digit before the point
// and a two-digit exponent (as the engine writes); asterisks when too wide.
std::string FormatE(double value, int w, int d);

// The value that a stored Ew.d text of value reads back as.
double RoundedE(double value, int d);

}  // namespace physics_data
