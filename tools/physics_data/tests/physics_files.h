// A small fixed-column reader of the three physics files and the lookups the
// transport makes in them, written out here step by step so that the data
// can be judged by exactly the arithmetic that will use it.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace physics_files {

struct Tables {
  int softRowCount = 0;
  // Index 0 unused, rows from 1, as the transport indexes them.
  std::vector<float> softEnergy{0};  // keV
  std::vector<float> softCoef1{0};   // coherent, 1/cm
  std::vector<float> softCoef2{0};   // incoherent, 1/cm
  std::vector<float> softCoef3{0};   // photoelectric, 1/cm
  std::vector<float> formX{0};       // 1/angstrom
  std::vector<float> coherentCumulative{0};
  std::vector<float> incoherentS{0};
  float incoherentSMax = 0;
  float coherentTotal = 0;
  std::vector<float> airEnergy{0};          // MeV, column 1 of AirMUtr.dat
  std::vector<float> airMuTr{0};            // cm^2/g
  std::vector<float> musEnergy{0};          // MeV
  std::vector<std::vector<float>> mus{{}};  // four columns per line, 1/cm
};

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path.string());
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Lines of a file whose every line must end in CR LF.
inline std::vector<std::string> CrLfLines(const std::string& text, const std::string& name) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t lf = text.find('\n', start);
    if (lf == std::string::npos || lf == start || text[lf - 1] != '\r') {
      throw std::runtime_error(name + ": line " + std::to_string(lines.size() + 1) +
                               " does not end in CR LF");
    }
    lines.push_back(text.substr(start, lf - 1 - start));
    start = lf + 1;
  }
  return lines;
}

// A fixed-column real: blanks ignored, all blank is 0, anything else must
// be one number.
inline float Field(const std::string& line, int column, int width, const std::string& where) {
  std::string compact;
  for (int i = column - 1; i < column - 1 + width && i < int(line.size()); ++i) {
    if (line[i] != ' ') compact += line[i];
  }
  if (compact.empty()) return 0;
  char* end = nullptr;
  const double v = std::strtod(compact.c_str(), &end);
  if (*end != '\0')
    throw std::runtime_error(where + ": field at column " + std::to_string(column) +
                             " is not a number: '" + compact + "'");
  return float(v);
}

inline std::string Where(const std::string& name, std::size_t line) {
  return name + " line " + std::to_string(line + 1);
}

inline Tables ReadTables(const std::filesystem::path& folder) {
  Tables t;
  {
    const std::vector<std::string> lines =
        CrLfLines(ReadBytes(folder / "ICRUSoft.dat"), "ICRUSoft.dat");
    if (lines.size() < 2) throw std::runtime_error("ICRUSoft.dat: too short");
    t.softRowCount = std::stoi(lines[0]);
    (void)std::stod(lines[1]);
    if (lines.size() != std::size_t(2 + t.softRowCount + 45)) {
      throw std::runtime_error("ICRUSoft.dat: " + std::to_string(lines.size()) + " lines");
    }
    for (int r = 1; r <= t.softRowCount; ++r) {
      const std::string& l = lines[1 + r];
      const std::string w = Where("ICRUSoft.dat", 1 + r);
      t.softEnergy.push_back(Field(l, 1, 9, w) * 1000);
      t.softCoef1.push_back(Field(l, 10, 10, w));
      t.softCoef2.push_back(Field(l, 20, 10, w));
      t.softCoef3.push_back(Field(l, 30, 10, w));
    }
    for (int r = 1; r <= 45; ++r) {
      const std::size_t n = 1 + t.softRowCount + r;
      const std::string w = Where("ICRUSoft.dat", n);
      t.formX.push_back(Field(lines[n], 1, 10, w));
      t.coherentCumulative.push_back(Field(lines[n], 11, 12, w));
      t.incoherentS.push_back(Field(lines[n], 23, 12, w));
    }
    t.incoherentSMax = t.incoherentS[45];
    t.coherentTotal = t.coherentCumulative[45];
  }
  {
    const std::vector<std::string> lines =
        CrLfLines(ReadBytes(folder / "AirMUtr.dat"), "AirMUtr.dat");
    if (lines.size() != 300) throw std::runtime_error("AirMUtr.dat: not 300 lines");
    for (std::size_t i = 0; i < lines.size(); ++i) {
      t.airEnergy.push_back(Field(lines[i], 1, 9, Where("AirMUtr.dat", i)));
      t.airMuTr.push_back(Field(lines[i], 10, 12, Where("AirMUtr.dat", i)));
    }
  }
  {
    const std::vector<std::string> lines = CrLfLines(ReadBytes(folder / "Mus.dat"), "Mus.dat");
    if (lines.size() != 300) throw std::runtime_error("Mus.dat: not 300 lines");
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const std::string w = Where("Mus.dat", i);
      t.musEnergy.push_back(Field(lines[i], 1, 10, w));
      std::vector<float> row;
      for (int c = 0; c < 4; ++c) row.push_back(Field(lines[i], 11 + 13 * c, 13, w));
      t.mus.push_back(row);
    }
  }
  return t;
}

struct Coefficients {
  float coherent = 0, incoherent = 0, photo = 0;  // 1/cm
};

// The transport's log-log interpolation at E (keV), in single precision.
inline Coefficients Lookup(const Tables& t, float e) {
  int j = 2;
  while (!(t.softEnergy[j] > e)) ++j;
  const float f = (std::log(e) - std::log(t.softEnergy[j - 1])) /
                  (std::log(t.softEnergy[j]) - std::log(t.softEnergy[j - 1]));
  auto column = [&](const std::vector<float>& c) {
    return std::exp((std::log(c[j]) - std::log(c[j - 1])) * f + std::log(c[j - 1]));
  };
  return {column(t.softCoef1), column(t.softCoef2), column(t.softCoef3)};
}

// The transport's linear interpolation of S(x), for x below 10.
inline float IncoherentSAt(const Tables& t, float x) {
  int j = 2;
  while (!(t.formX[j] > x)) ++j;
  return (t.incoherentS[j] - t.incoherentS[j - 1]) / (t.formX[j] - t.formX[j - 1]) *
             (x - t.formX[j - 1]) +
         t.incoherentS[j - 1];
}

// Uniform single-precision numbers 0 <= u < 1 from a fixed seed.
class Uniform {
 public:
  explicit Uniform(std::uint32_t seed) : engine_(seed) {}
  float operator()() { return float(engine_() >> 8) * (1.0f / 16777216.0f); }

 private:
  std::mt19937 engine_;
};

// cos(theta) of one coherent scattering at E (keV), sampled as the
// transport does: x from the cumulative table, then the Thomson rejection.
inline float SampleCoherentCos(const Tables& t, float e, Uniform& uniform) {
  for (;;) {
    const float r = uniform() * t.coherentTotal;
    int j = 2;
    while (!(t.coherentCumulative[j] > r)) ++j;
    const float x = (t.formX[j] - t.formX[j - 1]) * (r - t.coherentCumulative[j - 1]) /
                        (t.coherentCumulative[j] - t.coherentCumulative[j - 1]) +
                    t.formX[j - 1];
    const float v = x * 12.4f / e;
    if (v > 1) continue;
    const float cosTheta = 1 - v * v * 2;
    if (uniform() * 2 <= cosTheta * cosTheta + 1) return cosTheta;
  }
}

}  // namespace physics_files
