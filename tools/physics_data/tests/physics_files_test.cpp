// The committed physics files: layout, what the transport's lookups require
// of them, and spot values against published tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "physics_files.h"

namespace {

const std::filesystem::path DATA_DIR = PHYSICS_DATA_DIR;
const std::filesystem::path TEST_DATA_DIR = PHYSICS_TEST_DATA_DIR;

class CommittedFiles : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    tables_ = new physics_files::Tables(physics_files::ReadTables(DATA_DIR));
  }
  static void TearDownTestSuite() {
    delete tables_;
    tables_ = nullptr;
  }
  static const physics_files::Tables& T() { return *tables_; }

 private:
  static physics_files::Tables* tables_;
};
physics_files::Tables* CommittedFiles::tables_ = nullptr;

// Every field starts where its column starts and is right-justified: each
// line is exactly as long as its fields, and each value's text begins after
// the column boundary with a blank (AirMUtr.dat's energy fills its field).
TEST(PhysicsFileLayout, LinesHaveTheFieldWidths) {
  struct Case {
    const char* file;
    int firstLine;  // 1-based, first fixed-column line
    int lastLine;   // 0: to the end
    std::vector<int> widths;
    bool firstFieldFull;
  };
  const physics_files::Tables t = physics_files::ReadTables(DATA_DIR);
  const int soft = t.softRowCount;
  const std::vector<Case> cases = {
      {"ICRUSoft.dat", 3, 2 + soft, {9, 10, 10, 10}, false},
      {"ICRUSoft.dat", 3 + soft, 0, {10, 12, 12}, false},
      {"AirMUtr.dat", 1, 0, {9, 12}, true},
      {"Mus.dat", 1, 0, {10, 13, 13, 13, 13}, false},
  };
  for (const Case& c : cases) {
    const std::vector<std::string> lines =
        physics_files::CrLfLines(physics_files::ReadBytes(DATA_DIR / c.file), c.file);
    const int last = c.lastLine == 0 ? int(lines.size()) : c.lastLine;
    for (int n = c.firstLine; n <= last; ++n) {
      SCOPED_TRACE(std::string(c.file) + " line " + std::to_string(n));
      const std::string& line = lines[n - 1];
      int total = 0;
      for (int w : c.widths) total += w;
      ASSERT_EQ(int(line.size()), total);
      int column = 0;
      for (std::size_t f = 0; f < c.widths.size(); ++f) {
        const std::string field = line.substr(column, c.widths[f]);
        if (!(f == 0 && c.firstFieldFull)) {
          EXPECT_EQ(field[0], ' ');
        }
        EXPECT_EQ(field.find_first_not_of(' '), field.find('.'));  // no digit before the point
        EXPECT_NE(field.find('E'), std::string::npos);
        EXPECT_TRUE(field.back() >= '0' && field.back() <= '9');
        column += c.widths[f];
      }
    }
  }
}

TEST(PhysicsFileLayout, HeaderOfIcruSoft) {
  const std::vector<std::string> lines =
      physics_files::CrLfLines(physics_files::ReadBytes(DATA_DIR / "ICRUSoft.dat"), "ICRUSoft.dat");
  const int count = std::stoi(lines[0]);
  EXPECT_GE(count, 2);
  EXPECT_LE(count, 35);
  EXPECT_DOUBLE_EQ(std::stod(lines[1]), 1.0);  // the tissue density
}

TEST_F(CommittedFiles, EnergyRowsServeEveryLookup) {
  const auto& t = T();
  EXPECT_LE(t.softEnergy[1], 5.0f);
  EXPECT_GT(t.softEnergy[t.softRowCount], 150.0f);
  for (int r = 1; r <= t.softRowCount; ++r) {
    SCOPED_TRACE(r);
    if (r > 1) {
      EXPECT_GT(t.softEnergy[r], t.softEnergy[r - 1]);
    }
    EXPECT_GT(t.softCoef1[r], 0);
    EXPECT_GT(t.softCoef2[r], 0);
    EXPECT_GT(t.softCoef3[r], 0);
  }
}

TEST_F(CommittedFiles, ScatteringRowsServeEveryLookup) {
  const auto& t = T();
  EXPECT_EQ(t.formX[1], 0.0f);
  EXPECT_EQ(t.coherentCumulative[1], 0.0f);
  EXPECT_EQ(t.incoherentS[1], 0.0f);
  // Every x below 10 finds its row; every x a 150 keV photon can reach lies
  // inside the coherent table.
  EXPECT_NE(std::find(t.formX.begin(), t.formX.end(), 10.0f), t.formX.end());
  EXPECT_GT(t.formX[45], 150.0f / 12.4f);
  for (int r = 2; r <= 45; ++r) {
    SCOPED_TRACE(r);
    EXPECT_GT(t.formX[r], t.formX[r - 1]);
    EXPECT_GT(t.coherentCumulative[r], t.coherentCumulative[r - 1]);
    EXPECT_LE(t.incoherentS[r], t.incoherentSMax);
  }
}

TEST_F(CommittedFiles, BinFilesHoldTheBinEnergiesInOrder) {
  const auto& t = T();
  for (int i = 1; i <= 300; ++i) {
    SCOPED_TRACE(i);
    const float mev = 0.0005f * i;
    EXPECT_NEAR(t.airEnergy[i], mev, mev * 1e-6);
    EXPECT_NEAR(t.musEnergy[i], mev, mev * 1e-6);
    EXPECT_GT(t.airMuTr[i], 0);
    for (float mu : t.mus[i]) EXPECT_GT(mu, 0);
  }
}

// Against the published mu_en/rho of dry air at the table's own energies
// (radiative losses are below 0.1 % here, so mu_tr = mu_en).
TEST_F(CommittedFiles, AirEnergyTransferMatchesPublishedTable) {
  std::ifstream in(TEST_DATA_DIR / "nist_air_dry_mu_muen.csv");
  ASSERT_TRUE(in);
  std::string line;
  std::getline(in, line);  // header
  int checked = 0;
  while (std::getline(in, line)) {
    std::stringstream s(line);
    std::string e, mu, muen;
    std::getline(s, e, ',');
    std::getline(s, mu, ',');
    std::getline(s, muen, ',');
    const double kev = std::stod(e) * 1000;
    if (kev < 10 - 1e-9 || kev > 150 + 1e-9) continue;
    const int bin = int(std::lround(kev / 0.5));
    SCOPED_TRACE(kev);
    EXPECT_NEAR(T().airMuTr[bin] / std::stod(muen), 1.0, 0.005);
    ++checked;
  }
  EXPECT_GT(checked, 0);
}

// Published narrow-beam mass attenuation coefficients (cm^2/g).
TEST_F(CommittedFiles, SpotValuesAgainstPublishedTables) {
  const auto& t = T();
  struct Case {
    const char* what;
    double kev;
    double computed;  // cm^2/g
    double published;
  };
  auto mus = [&](double kev, int column, double density) {
    return t.mus[int(std::lround(kev / 0.5))][column] / density;
  };
  auto tissue = [&](double kev) {
    const physics_files::Coefficients c = physics_files::Lookup(t, float(kev));
    return double(c.coherent) + c.incoherent + c.photo;  // density 1.00
  };
  const std::vector<Case> cases = {
      {"soft tissue", 60, tissue(60), 0.2025},      {"dry air mu_en", 60, t.airMuTr[120], 0.03041},
      {"water", 60, mus(60, 0, 1.00), 0.2059},      {"aluminium", 30, mus(30, 1, 2.699), 1.128},
      {"aluminium", 60, mus(60, 1, 2.699), 0.2778}, {"copper", 60, mus(60, 2, 8.96), 1.593},
      {"titanium", 60, mus(60, 3, 4.54), 0.7661},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.what) + " at " + std::to_string(c.kev) + " keV");
    EXPECT_NEAR(c.computed / c.published, 1.0, 0.005);
  }
}

// S(x) as the incoherent rejection sees it: never above its maximum, so the
// acceptance probability S / S(45) stays a probability.
TEST_F(CommittedFiles, InterpolatedScatteringFunctionStaysBelowItsMaximum) {
  const auto& t = T();
  for (float x = 0; x < 10; x += 0.01f) {
    const float s = physics_files::IncoherentSAt(t, x);
    ASSERT_GE(s, 0) << x;
    ASSERT_LE(s, t.incoherentSMax) << x;
  }
}

}  // namespace
