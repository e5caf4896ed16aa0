// The X-ray spectrum of the setup window: the program-wide spectrum
// variables and the reading of a spectrum file ("*.csv").
#pragma once

#include <QString>
#include <array>
#include <stdexcept>

namespace tessalin {

inline constexpr int MAX_LAST_DIRECTION = 25;  // directions 0..25
inline constexpr int SPECTRUM_BINS = 300;      // bin k stands for 0.5 * k keV

// The spectrum loaded in the setup window, read by the start. One instance,
// owned by the application and handed to the windows that use it.
struct SpectrumVariables {
  QString SpectrumComment;  // first line of the clicked or loaded file
  int LastDirection = 0;    // directions are 0..LastDirection
  std::array<double, MAX_LAST_DIRECTION + 1> DirectionPosition{};  // cm at the source-axis distance
  std::array<double, MAX_LAST_DIRECTION + 1> DirectionFiltration{};  // mm of aluminium
  // [direction][bin], bins 1..300 used, relative photon fluence.
  std::array<std::array<double, SPECTRUM_BINS + 1>, MAX_LAST_DIRECTION + 1> DirectionFluence{};
  double CentralFluenceMax = 0;  // largest DirectionFluence[0][k], k = 1..300
  // Name (without folder) of the file the directions and fluences came
  // from; empty before the first load. The start writes this name, so the
  // conditions always name the spectrum they carry.
  QString LoadedFileName;
};

// A spectrum file that cannot serve; what() is the message for the user
// (UTF-8, Japanese), naming the file and, where it helps, the line.
class SpectrumFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  QString Message() const { return QString::fromUtf8(what()); }
};

// The first line of a file, decoded from code page 932, without its line end.
// Throws SpectrumFileError when the file cannot be opened.
QString ReadSpectrumComment(const QString& path);

// Reads a whole spectrum file: the comment line, then fields in order (a field
// ends at a comma or a line end, blanks around it are dropped, double quotes
// around it are removed; empty lines hold no field):
//   N (0..25); a heading; N + 1 positions; a heading; N + 1 values not used;
//   a heading; N + 1 filtrations; 300 groups of an energy and N + 1 fluences.
// Returns the variables of a load (LoadedFileName set to the file's name,
// CentralFluenceMax computed). Throws SpectrumFileError for a file that
// cannot be opened, is empty, ends early, has text where a number is due,
// an N outside 0..25, or a central spectrum without a positive value.
SpectrumVariables ReadSpectrumFile(const QString& path);

}  // namespace tessalin
