// Numeric comma-separated tables with one header line (the model data).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessalin::spectrum {

struct CsvTable {
  std::vector<std::string> Header;
  std::vector<std::vector<double>> Rows;  // every row as long as Header

  // Index of the column with this heading; throws SpectrumError naming the
  // table when there is none.
  int Column(std::string_view heading) const;
  std::string Name;
};

// Parses text: a header line, then rows of numbers. Blank lines are skipped.
// Throws SpectrumError naming name, the line and the field that fails.
CsvTable ParseCsv(std::string_view name, std::string_view text);

// Splits one line at commas; fields are trimmed of blanks and tabs.
std::vector<std::string_view> SplitCsvLine(std::string_view line);

// Reads a whole decimal number from text (no blanks); false if text holds
// anything else or the value is not finite.
bool ParseNumber(std::string_view text, double& value);

}  // namespace tessalin::spectrum
