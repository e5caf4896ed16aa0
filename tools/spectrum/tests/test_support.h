// Shared helpers of the spectrum tests: the engine's coefficients, a scratch
// folder, and a reader that follows the setup window's field-order rules.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine_coefficients.h"

namespace tessalin::spectrum::testing {

inline const EngineCoefficients& Coefficients() {
  static const EngineCoefficients coefficients = ReadEngineCoefficients(SPECTRUM_ENGINE_DATA_DIR);
  return coefficients;
}

inline std::string ReadText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void WriteText(const std::filesystem::path& file, const std::string& text) {
  std::ofstream out(file, std::ios::binary);
  out << text;
}

// A fresh folder under the system's temporary folder, removed afterwards.
class ScratchFolder {
 public:
  ScratchFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::filesystem::temp_directory_path() /
            ("tessalin-spectrum-" + std::string(info->test_suite_name()) + "-" + info->name());
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() { std::filesystem::remove_all(path_); }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// What the setup window takes from a spectrum file.
struct LoadedSpectrum {
  std::string Comment;
  int LastDirection = 0;
  std::vector<double> Position, Filtration;
  std::vector<std::vector<double>> Fluence;  // [direction][bin 0..299]
  std::size_t FieldsLeftOver = 0;
};

// Reads text as the setup window does: the first line whole, then a stream
// of fields regardless of lines; a field ends at a comma or a line end,
// blanks around it are dropped, double quotes around it are removed. Fails
// the test when a field is missing or not a number.
inline LoadedSpectrum LoadLikeSetupWindow(const std::string& text) {
  LoadedSpectrum loaded;
  std::vector<std::string> fields;
  std::size_t start = 0;
  bool first = true;
  while (start < text.size()) {
    auto end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (first) {
      loaded.Comment = line;
      first = false;
      continue;
    }
    if (line.find_first_not_of(' ') == std::string::npos) continue;
    std::stringstream pieces(line);
    std::string piece;
    std::size_t commas = std::count(line.begin(), line.end(), ',');
    for (std::size_t n = 0; n <= commas; ++n) {
      std::getline(pieces, piece, ',');
      const auto a = piece.find_first_not_of(' ');
      const auto b = piece.find_last_not_of(' ');
      piece = a == std::string::npos ? "" : piece.substr(a, b - a + 1);
      if (piece.size() >= 2 && piece.front() == '"' && piece.back() == '"')
        piece = piece.substr(1, piece.size() - 2);
      fields.push_back(piece);
    }
  }
  std::size_t next = 0;
  auto field = [&]() -> std::string {
    if (next >= fields.size()) {
      ADD_FAILURE() << "the file ends after " << fields.size() << " fields";
      return "0";
    }
    return fields[next++];
  };
  auto number = [&]() {
    const std::string f = field();
    std::size_t used = 0;
    double value = 0;
    try {
      value = std::stod(f, &used);
    } catch (...) {
    }
    EXPECT_EQ(used, f.size()) << "field " << next << " \"" << f << "\" is not a number";
    return value;
  };
  loaded.LastDirection = static_cast<int>(number());
  const int n = loaded.LastDirection;
  if (n < 0 || n > 25) {
    ADD_FAILURE() << "N = " << n;
    return loaded;
  }
  field();
  for (int j = 0; j <= n; ++j) loaded.Position.push_back(number());
  field();
  for (int j = 0; j <= n; ++j) number();
  field();
  for (int j = 0; j <= n; ++j) loaded.Filtration.push_back(number());
  loaded.Fluence.assign(n + 1, std::vector<double>(300));
  for (int k = 0; k < 300; ++k) {
    field();
    for (int j = 0; j <= n; ++j) loaded.Fluence[j][k] = number();
  }
  loaded.FieldsLeftOver = fields.size() - next;
  return loaded;
}

}  // namespace tessalin::spectrum::testing
