// Reading the engine's result file: the header for the file summary and the
// whole file, header and 1,600,000 dose values, into ViewerDose.
#pragma once

#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tessalin {

// The run's conditions as repeated at the top of a result file.
struct ResultHeader {
  std::string ConditionComment;   // line 1 as read (raw bytes, code page of the writer)
  double SourceAxisDistance = 0;  // cm
  double BeamWidthRotation = 0;   // cm, at the rotation centre
  double BeamWidthAxial = 0;      // cm, at the rotation centre
  double PhantomA = 0;            // cm, straight part of the racetrack
  double PhantomB = 0;            // cm, thickness (diameter of the half-discs)
  double HistoryCount = 0;        // photon histories
};

// The loaded dose: component 0 total, 1 primary, 2 scattered, as fractions of
// the free-in-air kerma at the rotation centre. Index 0 of each position axis
// holds no cell and reads 0.
class ViewerDose {
 public:
  static constexpr int COMPONENTS = 3;
  static constexpr int CELLS_X = 200;
  static constexpr int CELLS_Y = 40;
  static constexpr int CELLS_Z = 100;
  static constexpr std::size_t VALUE_COUNT =
      std::size_t{COMPONENTS} * (CELLS_X + 1) * (CELLS_Y + 1) * (CELLS_Z + 1);

  ViewerDose() : values_(VALUE_COUNT, 0.0) {}

  // Value at (component, CellX, CellY, CellZ) in the order the file names
  // them; the storage keeps X innermost so that one axial plane is contiguous.
  double operator()(int component, int cellX, int cellY, int cellZ) const {
    return values_[Offset(component, cellX, cellY, cellZ)];
  }
  double& operator()(int component, int cellX, int cellY, int cellZ) {
    return values_[Offset(component, cellX, cellY, cellZ)];
  }
  // The 201 values of CellX = 0..200 for one (component, CellY, CellZ).
  const double* Row(int component, int cellY, int cellZ) const {
    return &values_[Offset(component, 0, cellY, cellZ)];
  }

 private:
  static std::size_t Offset(int component, int cellX, int cellY, int cellZ) {
    return ((std::size_t(component) * (CELLS_Y + 1) + std::size_t(cellY)) * (CELLS_Z + 1) +
            std::size_t(cellZ)) *
               (CELLS_X + 1) +
           std::size_t(cellX);
  }
  std::vector<double> values_;
};

// A result file that cannot be read as laid down; what() names the file, the
// line and what was wrong.
class ResultFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Parses the header from the file's text: line 1 whole, then six numbers
// free-form. Returns the position just after the sixth number.
std::size_t ParseResultHeader(std::string_view text, const std::string& fileName,
                              ResultHeader& header);

// Parses header and dose values from the whole file's text into a new
// ViewerDose with its total formed. Throws ResultFileError.
std::unique_ptr<ViewerDose> ParseResultFile(std::string_view text, const std::string& fileName,
                                            ResultHeader& header);

// Reads only the header of the file at path (the summary reads nothing more).
ResultHeader ReadResultHeader(const std::string& path);

// Reads the whole file at path; see ParseResultFile.
std::unique_ptr<ViewerDose> ReadResultFile(const std::string& path, ResultHeader& header);

}  // namespace tessalin
