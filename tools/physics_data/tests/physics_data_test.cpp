// The generator against xraylib: the committed files are what it writes
// today, and the transport's use of them reproduces xraylib's physics.
#include <gtest/gtest.h>
#include <xraylib.h>

#include <cmath>
#include <numbers>

#include "physics_data.h"
#include "physics_files.h"

namespace {

const std::filesystem::path DATA_DIR = PHYSICS_DATA_DIR;
const char* const TISSUE = "Tissue, Soft (ICRU four-component)";

TEST(PhysicsDataGenerator, RegeneratedFilesMatchCommittedFiles) {
  EXPECT_EQ(physics_data::IcruSoftText(physics_data::MakeSoftTable()),
            physics_files::ReadBytes(DATA_DIR / "ICRUSoft.dat"));
  EXPECT_EQ(physics_data::AirMuTrText(), physics_files::ReadBytes(DATA_DIR / "AirMUtr.dat"));
  EXPECT_EQ(physics_data::MusText(), physics_files::ReadBytes(DATA_DIR / "Mus.dat"));
}

TEST(PhysicsDataGenerator, FormatEWritesTheEngineRendering) {
  struct Case {
    double value;
    int w, d;
    const char* text;
  };
  const Case cases[] = {
      {0.00123, 9, 3, " .123E-02"},  {1, 9, 3, " .100E+01"},
      {0.5, 9, 3, " .500E+00"},      {0, 9, 3, " .000E+00"},
      {0.9996, 9, 3, " .100E+01"},   {-0.00123, 9, 3, "-.123E-02"},
      {0.1495, 9, 4, ".1495E+00"},   {1.0e100, 9, 3, "*********"},
      {0.0005, 10, 4, " .5000E-03"}, {12345.6, 13, 6, "  .123456E+05"},
      {-1, 8, 3, "********"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(physics_data::FormatE(c.value, c.w, c.d), c.text);
  }
}

// The transport's log-log interpolation of the stored coefficients, in
// single precision, against xraylib at every 0.02 keV from 5 to 150 keV.
TEST(PhysicsDataGenerator, InterpolatedCoefficientsFollowXraylib) {
  const physics_files::Tables t = physics_files::ReadTables(DATA_DIR);
  double worst[3] = {0, 0, 0};
  for (int i = 250; i <= 7500; ++i) {
    const double e = i * 0.02;
    const physics_files::Coefficients c = physics_files::Lookup(t, float(e));
    const double exact[3] = {CS_Rayl_CP(TISSUE, e, nullptr), CS_Compt_CP(TISSUE, e, nullptr),
                             CS_Photo_CP(TISSUE, e, nullptr)};
    const double got[3] = {c.coherent, c.incoherent, c.photo};
    for (int k = 0; k < 3; ++k) worst[k] = std::max(worst[k], std::abs(got[k] / exact[k] - 1));
  }
  EXPECT_LT(worst[0], physics_data::INTERPOLATION_TOLERANCE) << "coherent";
  EXPECT_LT(worst[1], physics_data::INTERPOLATION_TOLERANCE) << "incoherent";
  EXPECT_LT(worst[2], physics_data::INTERPOLATION_TOLERANCE) << "photoelectric";
}

// Mean cos(theta) of xraylib's coherent differential cross section of the tissue.
double ReferenceMeanCos(double e) {
  const int n = 4000;
  double num = 0, den = 0;
  for (int i = 0; i <= n; ++i) {
    const double theta = std::numbers::pi * i / n;
    const double w = (i == 0 || i == n) ? 1 : (i % 2 == 1 ? 4 : 2);
    const double d = DCS_Rayl_CP(TISSUE, e, theta, nullptr) * std::sin(theta) * w;
    num += d * std::cos(theta);
    den += d;
  }
  return num / den;
}

// The coherent angles the transport samples from the cumulative table carry
// xraylib's angular distribution. A table of the integral of F^2 dx instead
// of F^2 d(x^2) would give a mean of 0.91 instead of 0.63 at 20 keV.
TEST(PhysicsDataGenerator, SampledCoherentAnglesFollowXraylib) {
  const physics_files::Tables t = physics_files::ReadTables(DATA_DIR);
  physics_files::Uniform uniform(20240611);
  const int samples = 200000;  // standard error of the mean below 0.001
  for (float e : {20.0f, 60.0f, 100.0f}) {
    double sum = 0;
    for (int i = 0; i < samples; ++i) sum += physics_files::SampleCoherentCos(t, e, uniform);
    SCOPED_TRACE(e);
    EXPECT_NEAR(sum / samples, ReferenceMeanCos(e), 0.01);
  }
}

// The incoherent rejection's S(x), linearly interpolated between the rows,
// against the tissue's S(x) from xraylib, relative to its maximum.
TEST(PhysicsDataGenerator, InterpolatedScatteringFunctionFollowsXraylib) {
  const physics_files::Tables t = physics_files::ReadTables(DATA_DIR);
  const physics_data::Material tissue = physics_data::SoftTissue();
  double worst = 0;
  for (int i = 1; i < 10000; ++i) {
    const double x = i * 0.001;
    const double exact = physics_data::MixtureScatteringFunction(tissue, x);
    worst = std::max(worst, std::abs(physics_files::IncoherentSAt(t, float(x)) - exact));
  }
  EXPECT_LT(worst / t.incoherentSMax, 0.005);
}

}  // namespace
