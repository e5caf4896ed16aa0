#include "spectrum_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "command_line.h"
#include "spectrum_error.h"
#include "test_support.h"

namespace tessalin::spectrum {
namespace {

using testing::Coefficients;
using testing::LoadLikeSetupWindow;

GeneratorOptions BodyBeam(double kv, double lastPosition) {
  GeneratorOptions options;
  options.Kv = kv;
  options.Filters = {{Material::Al, 6.81}};
  options.Positions.clear();
  for (int x = 0; x <= lastPosition; ++x) options.Positions.push_back(x);
  return options;
}

TEST(SpectrumFile, ReadsBackUnderTheSetupWindowsFieldRules) {
  GeneratorOptions options = BodyBeam(120, 20);
  options.Positions = {0.0, 0.5, 1.0, 2.5, 5.0, 10.0, 12.3, 20.0, 25.0};
  options.Comment = "Round trip, \"quoted\" and, commas";
  const GeneratedSpectra spectra = GenerateSpectra(options, Coefficients());
  const std::string text = FormatSpectrumFile(spectra);

  const auto loaded = LoadLikeSetupWindow(text);
  EXPECT_EQ(loaded.Comment, options.Comment);  // the first line is read whole
  ASSERT_EQ(loaded.LastDirection, 8);
  EXPECT_EQ(loaded.FieldsLeftOver, 0u);
  ASSERT_EQ(loaded.Position.size(), 9u);
  double centralMax = 0;
  for (int j = 0; j <= 8; ++j) {
    EXPECT_DOUBLE_EQ(loaded.Position[j], options.Positions[j]);
    EXPECT_NEAR(loaded.Filtration[j], spectra.Filtrations[j], 5e-13);
    for (int k = 0; k < 300; ++k)
      EXPECT_NEAR(loaded.Fluence[j][k], spectra.Fluence[j][k], 5.1e-9) << j << " " << k;
  }
  for (double value : loaded.Fluence[0]) centralMax = std::max(centralMax, value);
  EXPECT_EQ(centralMax, 1.0);

  // ASCII, every line ends in CR LF, no field ends a line with a comma.
  EXPECT_TRUE(std::all_of(text.begin(), text.end(),
                          [](char c) { return static_cast<unsigned char>(c) < 0x80; }));
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 305);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 305);
  EXPECT_EQ(text.find(",\r\n"), std::string::npos);
  EXPECT_EQ(text.find("\n\n"), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

TEST(SpectrumFile, OffCentreSpectraFollowTheEnginesFiltrationWeight) {
  const GeneratedSpectra spectra = GenerateSpectra(BodyBeam(100, 20), Coefficients());
  const auto& mu = Coefficients().AluminiumMu;
  for (std::size_t j : {1u, 10u, 20u}) {
    const double extra = 0.1 * (spectra.Filtrations[j] - spectra.Filtrations[0]);  // cm
    for (int k = 9; k < 300; k += 7) {
      EXPECT_NEAR(spectra.Fluence[j][k], spectra.Fluence[0][k] * std::exp(-mu[k] * extra), 1e-15)
          << j << " " << k;
    }
  }
  // 6.81 mm flat plus the body bow-tie's 2.548 mm at the centre.
  EXPECT_NEAR(spectra.Filtrations[0], 9.358, 5e-13);
  EXPECT_NEAR(spectra.Filtrations[20], 6.81 + 34.822, 5e-13);
}

// The project's reference files: same fields, same header rows, and
// fluences within the rounding of the bow-tie table they were made from.
TEST(SpectrumFile, MatchesTheReferenceExamples) {
  struct Case {
    const char* File;
    double Kv;
    int LastPosition;
    double OutermostKerma;  // of the direction at 20 cm, relative to the centre
  };
  for (const Case& c : {Case{"example_W120kV_body_21dir.csv", 120, 20, 0.092},
                        Case{"example_W80kV_body_26dir.csv", 80, 25, 0.042}}) {
    SCOPED_TRACE(c.File);
    const std::string reference =
        testing::ReadText(std::string(SPECTRUM_TEST_DATA_DIR) + "/" + c.File);
    ASSERT_FALSE(reference.empty());
    const GeneratedSpectra spectra =
        GenerateSpectra(BodyBeam(c.Kv, c.LastPosition), Coefficients());
    const std::string text = FormatSpectrumFile(spectra);

    // Lines 2 to 5 (N, positions, fan angles, filtrations) agree character
    // for character; the comment is free.
    auto lines = [](const std::string& t) {
      std::vector<std::string> out;
      for (std::size_t start = 0; start < t.size();) {
        const auto end = t.find("\r\n", start);
        out.push_back(t.substr(start, end - start));
        start = end + 2;
      }
      return out;
    };
    const auto mine = lines(text), theirs = lines(reference);
    ASSERT_EQ(mine.size(), theirs.size());
    for (int i = 1; i < 5; ++i) EXPECT_EQ(mine[i], theirs[i]) << "line " << i + 1;

    const auto a = LoadLikeSetupWindow(text), b = LoadLikeSetupWindow(reference);
    EXPECT_EQ(b.FieldsLeftOver, 0u);
    for (int j = 0; j <= b.LastDirection; ++j) {
      for (int k = 0; k < 300; ++k) {
        EXPECT_NEAR(a.Fluence[j][k], b.Fluence[j][k], 5e-4 * b.Fluence[j][k] + 1e-8)
            << j << " " << k;
      }
    }
    // Relative air kerma at 20 cm, from the reference's own notes.
    const double centre = AirKerma(spectra.Fluence[0], Coefficients().AirMuTr);
    EXPECT_NEAR(AirKerma(spectra.Fluence[20], Coefficients().AirMuTr) / centre, c.OutermostKerma,
                0.002);
  }
}

// The files shipped in example/spectra are the tool's own output with its
// defaults; this fails when the tool or the engine's data change under them.
TEST(SpectrumFile, BundledExamplesAreWhatTheToolMakes) {
  for (const char* kv : {"80", "100", "120", "140"}) {
    SCOPED_TRACE(kv);
    const CommandLine line = ParseCommandLine({"--kv", kv});
    const std::string bundled =
        testing::ReadText(std::string(SPECTRUM_BUNDLED_DIR) + "/" + line.Output.string());
    ASSERT_FALSE(bundled.empty()) << line.Output;
    EXPECT_TRUE(bundled == FormatSpectrumFile(GenerateSpectra(line.Options, Coefficients())))
        << "regenerate example/spectra (see its README.md)";
  }
}

TEST(SpectrumFile, PositionsKeepTheirDecimalsOnly) {
  const std::pair<double, const char*> cases[] = {
      {0.0, "0.0"}, {12.0, "12.0"}, {12.5, "12.5"}, {0.3, "0.3"}, {25.0, "25.0"}};
  for (const auto& [value, text] : cases) EXPECT_EQ(FormatPosition(value), text);
}

TEST(SpectrumFile, WriteReportsAFileThatCannotBeCreated) {
  const GeneratedSpectra spectra = GenerateSpectra(BodyBeam(120, 2), Coefficients());
  testing::ScratchFolder folder;
  EXPECT_THROW(WriteSpectrumFile(folder.Path() / "missing" / "x.csv", spectra), SpectrumError);
  WriteSpectrumFile(folder.Path() / "x.csv", spectra);
  EXPECT_EQ(testing::ReadText(folder.Path() / "x.csv"), FormatSpectrumFile(spectra));
}

}  // namespace
}  // namespace tessalin::spectrum
