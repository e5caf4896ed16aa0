#include "beam_quality.h"

#include <gtest/gtest.h>

#include <cmath>

#include "spectrum_error.h"
#include "spectrum_generator.h"
#include "test_support.h"

namespace tessalin::spectrum {
namespace {

using testing::Coefficients;

GeneratorOptions CentralBeam(double kv, double aluminium) {
  GeneratorOptions options;
  options.Kv = kv;
  options.Filters = {{Material::Al, aluminium}};
  options.Bowtie = BuiltinBowtie("none");
  options.Positions = {0.0};
  return options;
}

TEST(BeamQuality, MonoenergeticBeamHasHvlOfLn2OverMu) {
  BinArray fluence{}, mu{}, airMuTr{};
  mu.fill(1.0);
  airMuTr.fill(0.02);
  fluence[119] = 3.0;  // 60 keV
  mu[119] = 0.75;      // 1/cm
  const BeamQuality quality = MeasureBeamQuality(fluence, mu, airMuTr);
  EXPECT_NEAR(quality.Hvl1, 10.0 * std::log(2.0) / 0.75, 1e-6);
  EXPECT_NEAR(quality.Hvl2, quality.Hvl1, 1e-6);
  EXPECT_DOUBLE_EQ(quality.MeanEnergy, 60.0);
  BinArray empty{};
  EXPECT_THROW(MeasureBeamQuality(empty, mu, airMuTr), SpectrumError);
}

// Reference values from the stored model and coefficient tables; published
// CT beams of these voltages lie within a few per cent.
TEST(BeamQuality, TasmicsBehindFlatAluminiumMatchesReferenceValues) {
  struct Case {
    double Kv, Aluminium;  // kV, mm
    double Hvl1;           // mm Al
    double MeanEnergy;     // keV, 0 when not checked
  };
  const Case cases[] = {
      {80, 9.36, 5.42, 50.7},  {100, 9.36, 6.58, 57.4}, {120, 9.36, 7.59, 63.1},
      {140, 9.36, 8.51, 68.4}, {80, 2.5, 2.79, 0},      {100, 2.5, 3.49, 0},
      {120, 2.5, 4.21, 0},     {140, 2.5, 4.96, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.Kv) + " kV, " + std::to_string(c.Aluminium) + " mm Al");
    const GeneratedSpectra spectra =
        GenerateSpectra(CentralBeam(c.Kv, c.Aluminium), Coefficients());
    EXPECT_NEAR(spectra.Central.Hvl1, c.Hvl1, 0.01 * c.Hvl1);
    EXPECT_GT(spectra.Central.Hvl2, spectra.Central.Hvl1);  // the beam hardens
    if (c.MeanEnergy > 0) {
      EXPECT_NEAR(spectra.Central.MeanEnergy, c.MeanEnergy, 0.3);
    }
  }
}

TEST(BeamQuality, TargetHvlSolvesTheFlatAluminium) {
  struct Case {
    const char* Bowtie;
    double Added;  // mm Al
  };
  for (const Case& c : {Case{"body", 6.83}, Case{"none", 9.38}}) {
    SCOPED_TRACE(c.Bowtie);
    GeneratorOptions options = CentralBeam(120, 0.0);
    options.Filters.clear();
    options.Bowtie = BuiltinBowtie(c.Bowtie);
    options.TargetHvl1 = 7.6;
    const GeneratedSpectra spectra = GenerateSpectra(options, Coefficients());
    EXPECT_NEAR(spectra.AddedAluminium, c.Added, 0.01 * c.Added);
    EXPECT_NEAR(spectra.Central.Hvl1, 7.6, 0.002);
  }
  // Below what the beam has with no aluminium added: an error, not 0 mm.
  GeneratorOptions options = CentralBeam(120, 6.0);
  options.TargetHvl1 = 3.0;
  EXPECT_THROW(GenerateSpectra(options, Coefficients()), SpectrumError);
}

TEST(BeamQuality, OtherMaterialsCountAsAluminiumOfEqualKermaAttenuation) {
  GeneratorOptions options = CentralBeam(120, 3.0);
  options.Filters.push_back({Material::Cu, 0.1});
  const GeneratedSpectra spectra = GenerateSpectra(options, Coefficients());
  // Copper's filtration is worth a few mm of aluminium, more than 0.1 mm.
  EXPECT_GT(spectra.FlatEquivalent, 3.0 + 1.0);
  EXPECT_LT(spectra.FlatEquivalent, 3.0 + 5.0);
  const BinArray unfiltered = UnfilteredSpectrum(TubeModel::Tasmics, 120);
  BinArray behindFilters = Attenuate(unfiltered, Coefficients().AluminiumMu, 0.3);
  behindFilters = Attenuate(behindFilters, TableLinearMu(Material::Cu), 0.01);
  const BinArray behindEquivalent =
      Attenuate(unfiltered, Coefficients().AluminiumMu, 0.1 * spectra.FlatEquivalent);
  EXPECT_NEAR(AirKerma(behindEquivalent, Coefficients().AirMuTr) /
                  AirKerma(behindFilters, Coefficients().AirMuTr),
              1.0, 1e-6);
}

}  // namespace
}  // namespace tessalin::spectrum
