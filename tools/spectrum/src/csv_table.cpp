#include "csv_table.h"

#include <charconv>
#include <cmath>

#include "spectrum_error.h"

namespace tessalin::spectrum {

namespace {

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

}  // namespace

std::vector<std::string_view> SplitCsvLine(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  while (true) {
    const auto comma = line.find(',', start);
    fields.push_back(Trim(line.substr(
        start, comma == std::string_view::npos ? std::string_view::npos : comma - start)));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return fields;
}

bool ParseNumber(std::string_view text, double& value) {
  // from_chars takes no leading plus sign.
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

int CsvTable::Column(std::string_view heading) const {
  for (std::size_t i = 0; i < Header.size(); ++i) {
    if (Header[i] == heading) return static_cast<int>(i);
  }
  throw SpectrumError(Name + ": no column \"" + std::string(heading) + "\"");
}

CsvTable ParseCsv(std::string_view name, std::string_view text) {
  CsvTable table;
  table.Name = std::string(name);
  long lineNumber = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    auto end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = Trim(text.substr(start, end - start));
    start = end + 1;
    ++lineNumber;
    if (line.empty()) continue;
    const auto fields = SplitCsvLine(line);
    if (table.Header.empty()) {
      for (auto field : fields) table.Header.emplace_back(field);
      continue;
    }
    if (fields.size() != table.Header.size()) {
      throw SpectrumError(table.Name + ", line " + std::to_string(lineNumber) + ": " +
                          std::to_string(fields.size()) + " fields where the header has " +
                          std::to_string(table.Header.size()));
    }
    std::vector<double> row(fields.size());
    for (std::size_t i = 0; i < fields.size(); ++i) {
      if (!ParseNumber(fields[i], row[i])) {
        throw SpectrumError(table.Name + ", line " + std::to_string(lineNumber) + ", field " +
                            std::to_string(i + 1) + " (" + table.Header[i] + "): \"" +
                            std::string(fields[i]) + "\" is not a number");
      }
    }
    table.Rows.push_back(std::move(row));
  }
  if (table.Header.empty()) throw SpectrumError(table.Name + ": the table is empty");
  return table;
}

}  // namespace tessalin::spectrum
