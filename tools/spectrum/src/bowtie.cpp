#include "bowtie.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "csv_table.h"
#include "embedded_data.h"
#include "spectrum_error.h"

namespace tessalin::spectrum {

double BowtieProfile::ThicknessAt(double x) const {
  if (Position.empty()) return 0.0;
  if (x < Position.front() || x > Position.back()) {
    char text[200];
    std::snprintf(text, sizeof text,
                  "position %g cm lies outside the bow-tie profile \"%s\" (%g to %g cm)", x,
                  Name.c_str(), Position.front(), Position.back());
    throw SpectrumError(text);
  }
  const auto upper = std::lower_bound(Position.begin(), Position.end(), x);
  const auto j = static_cast<std::size_t>(upper - Position.begin());
  if (Position[j] == x) return Thickness[j];
  const double t = (x - Position[j - 1]) / (Position[j] - Position[j - 1]);
  return Thickness[j - 1] + t * (Thickness[j] - Thickness[j - 1]);
}

BowtieProfile BuiltinBowtie(std::string_view name) {
  BowtieProfile profile;
  profile.Name = std::string(name);
  if (name == "none") return profile;
  // Kept in size at the isocentre plane: the filter then spares the same
  // body width at any focus-to-centre distance.
  std::string column;
  if (name == "body")
    column = "body_mmAl_pos54.1";
  else if (name == "head")
    column = "head_mmAl_pos54.1";
  else
    throw SpectrumError("unknown bow-tie \"" + std::string(name) +
                        "\" (body, head, none or a table file)");
  const CsvTable csv =
      ParseCsv("bowtie_profiles_Al_vs_position.csv", EmbeddedText(EmbeddedFile::Bowtie));
  const int positionColumn = csv.Column("position_cm");
  const int thicknessColumn = csv.Column(column);
  for (const auto& row : csv.Rows) {
    profile.Position.push_back(row[positionColumn]);
    profile.Thickness.push_back(row[thicknessColumn]);
  }
  return profile;
}

BowtieProfile ParseBowtieTable(std::string_view name, std::string_view text) {
  BowtieProfile profile;
  profile.Name = std::string(name);
  std::istringstream in{std::string(text)};
  std::string line;
  long lineNumber = 0;
  while (std::getline(in, line)) {
    ++lineNumber;
    std::replace(line.begin(), line.end(), '\t', ' ');
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto first = line.find_first_not_of(' ');
    if (first == std::string::npos || line[first] == '#') continue;
    // A comma or blanks separate the two fields.
    std::replace(line.begin(), line.end(), ',', ' ');
    std::istringstream fields(line);
    std::string field[3];
    fields >> field[0] >> field[1] >> field[2];
    auto where = [&](int f) {
      return profile.Name + ", line " + std::to_string(lineNumber) + ", field " +
             std::to_string(f + 1);
    };
    if (field[1].empty() || !field[2].empty()) {
      throw SpectrumError(profile.Name + ", line " + std::to_string(lineNumber) +
                          ": expected two fields, position (cm) and thickness (mm Al)");
    }
    double value[2];
    for (int f = 0; f < 2; ++f) {
      if (!ParseNumber(field[f], value[f]))
        throw SpectrumError(where(f) + ": \"" + field[f] + "\" is not a number");
    }
    if (!profile.Position.empty() && value[0] <= profile.Position.back()) {
      throw SpectrumError(where(0) + ": positions must increase");
    }
    if (value[1] < 0.0) throw SpectrumError(where(1) + ": negative thickness");
    profile.Position.push_back(value[0]);
    profile.Thickness.push_back(value[1]);
  }
  if (profile.Position.size() < 2)
    throw SpectrumError(profile.Name + ": a bow-tie table needs at least two points");
  return profile;
}

BowtieProfile ReadBowtieTable(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw SpectrumError(file.string() + ": cannot be opened");
  std::ostringstream text;
  text << in.rdbuf();
  return ParseBowtieTable(file.string(), text.str());
}

}  // namespace tessalin::spectrum
