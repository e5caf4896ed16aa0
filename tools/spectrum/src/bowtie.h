// Bow-tie filter profiles: path length in mm Al against the distance from
// the centre, measured in the plane through the rotation centre.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tessalin::spectrum {

struct BowtieProfile {
  std::string Name;               // "body", "head", "none" or the table's file name
  std::vector<double> Position;   // cm, increasing; empty for "none"
  std::vector<double> Thickness;  // mm Al, one per position

  // Path length at distance x (cm), linear between the table's points; 0
  // everywhere for an empty profile. Throws SpectrumError when x lies outside
  // the table.
  double ThicknessAt(double x) const;
};

// "body" (the large open CT bow-tie), "head" (the small one) or "none".
// Throws SpectrumError for any other name.
BowtieProfile BuiltinBowtie(std::string_view name);

// A user table: one point per line, position in cm and thickness in mm Al,
// separated by a comma or blanks; blank lines and lines starting with # are
// skipped. At least two points, positions increasing, thicknesses not
// negative. Throws SpectrumError naming the line and field at fault.
BowtieProfile ParseBowtieTable(std::string_view name, std::string_view text);
BowtieProfile ReadBowtieTable(const std::filesystem::path& file);

}  // namespace tessalin::spectrum
