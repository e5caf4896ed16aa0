// Temporary working folders and job files for the engine tests.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace tsl2::testing {

// A fresh folder under the system's temporary folder, removed at the end.
class TempFolder {
 public:
  TempFolder() {
    std::random_device seed;
    path_ = std::filesystem::temp_directory_path() /
            ("tsl2-test-" + std::to_string(seed()) + std::to_string(seed()));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline std::filesystem::path DataDir() { return TSL2_TEST_DATA_DIR; }

inline void WriteFile(const std::filesystem::path& file, const std::string& text) {
  std::ofstream out(file, std::ios::binary);
  out << text;
}

inline std::string ReadFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Copies the three physics data fixtures into folder.
inline void CopyPhysicsFiles(const std::filesystem::path& folder) {
  for (const char* name : {"ICRUSoft.dat", "AirMUtr.dat", "Mus.dat"}) {
    std::filesystem::copy_file(DataDir() / name, folder / name,
                               std::filesystem::copy_options::overwrite_existing);
  }
}

// The lines of a job file as the setup window writes them; tests change
// single lines before joining them.
struct JobLines {
  std::vector<std::string> lines;

  // A 1 cm x 1 cm beam keeps every history inside the air-kerma reference
  // window, so a few hundred histories make a complete run.
  static JobLines Small() {
    JobLines job;
    job.lines = {"test.csv", "run1.tsl2", "060.0", "001.0",          "001.0",         "020.0",
                 "020.0",    "2.000E+03", "001",   "000.0  00.9000", "010.0  01.8000"};
    for (int i = 1; i <= 300; ++i) {
      char line[32];
      const double weight = (i >= 100 && i <= 104) ? 1.0 : 0.0;
      std::snprintf(line, sizeof line, "%06.1f  %.3E", 0.5 * i, weight);
      job.lines.emplace_back(line);
    }
    return job;
  }
  // Line 10 + N + i holds bin i.
  std::string& SpectrumLine(int bin) {
    return lines.at(static_cast<std::size_t>(9 + FilterRows() + bin - 1));
  }
  int FilterRows() const { return std::stoi(lines.at(8)) + 1; }
  std::string Text(const char* lineEnd = "\r\n") const {
    std::string text;
    for (const auto& line : lines) text += line + lineEnd;
    return text;
  }
};

}  // namespace tsl2::testing
