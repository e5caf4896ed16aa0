// Writes result files in the engine's exact layout for the viewer's tests and
// benchmark: header lines, then 8000 rows of 200 values in E9.3.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

namespace tessalin::fixture {

// Dose of (component 1 or 2, CellX, CellY, CellZ), a fraction.
using DoseFunction = std::function<double(int, int, int, int)>;

struct FixtureHeader {
  std::string Comment = "spectrum_120kV.csv";
  double SourceAxisDistance = 60, BeamWidthRotation = 40, BeamWidthAxial = 10;
  double PhantomA = 20, PhantomB = 20;
  double HistoryCount = 900000000;
};

// Ew.d text of a value that is not negative: blank padding, ".ddd", E, sign,
// two exponent digits (0.00123 -> " .123E-02" in E9.3).
inline std::string FormatE(double value, int width, int digits) {
  std::string body;
  if (value == 0) {
    body = "." + std::string(static_cast<std::size_t>(digits), '0') + "E+00";
  } else {
    // printf rounds the digits; "%.*E" gives d.ddE+xx, which is .dddE+(xx+1).
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*E", digits - 1, value);
    const std::string text = buffer;
    const std::size_t e = text.find('E');
    std::string mantissa = text.substr(0, 1) + text.substr(2, e - 2);
    const int exponent = std::stoi(text.substr(e + 1)) + 1;
    char expText[16];
    std::snprintf(expText, sizeof expText, "E%c%02d", exponent < 0 ? '-' : '+',
                  exponent < 0 ? -exponent : exponent);
    body = "." + mantissa + expText;
  }
  return std::string(static_cast<std::size_t>(width) - body.size(), ' ') + body;
}

inline std::string FormatF51(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%5.1f", value);
  std::string text = buffer;
  if (value >= 0 && value < 1)
    text = " " + text.substr(0, text.find('.') - 1) + text.substr(text.find('.'));
  return text;
}

// The whole file's text; maxValues cuts the dose values short (a truncated file).
inline std::string ResultFileText(const FixtureHeader& header, const DoseFunction& dose,
                                  long maxValues = -1) {
  std::string text;
  text.reserve(14416077);
  std::string comment = header.Comment;
  comment.resize(30, ' ');
  text += comment + "\r\n";
  for (double v : {header.SourceAxisDistance, header.BeamWidthRotation, header.BeamWidthAxial,
                   header.PhantomA, header.PhantomB}) {
    text += FormatF51(v) + "\r\n";
  }
  text += FormatE(header.HistoryCount, 8, 2) + "\r\n";
  long written = 0;
  for (int c = 1; c <= 2; ++c) {
    for (int iy = 1; iy <= 40; ++iy) {
      for (int iz = 1; iz <= 100; ++iz) {
        for (int ix = 1; ix <= 200; ++ix) {
          if (maxValues >= 0 && written == maxValues) return text;
          text += FormatE(dose(c, ix, iy, iz), 9, 3);
          ++written;
        }
        text += "\r\n";
      }
    }
  }
  return text;
}

inline bool WriteText(const std::string& path, const std::string& text) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && ok;
}

// Values with three significant digits that differ from cell to cell, so a
// mixed-up index shows; k / 1000 reads back as exactly the same double.
inline double PatternDose(int c, int ix, int iy, int iz) {
  if (c == 1) return ((ix * 7 + iz * 13 + iy * 29) % 999 + 1) / 1000.0;
  return ((ix * 11 + iz * 3 + iy * 17) % 500) / 1000.0;
}

}  // namespace tessalin::fixture
