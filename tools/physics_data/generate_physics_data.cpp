// Writes ICRUSoft.dat, AirMUtr.dat and Mus.dat into the folder named on the
// command line (the project keeps them in data/).
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>

#include "physics_data.h"

namespace {

void WriteFile(const std::filesystem::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output-folder>\n", argv[0]);
    return 2;
  }
  try {
    const std::filesystem::path folder = argv[1];
    if (!std::filesystem::is_directory(folder)) {
      throw std::runtime_error("not a folder: " + folder.string());
    }
    const physics_data::SoftTable table = physics_data::MakeSoftTable();
    WriteFile(folder / "ICRUSoft.dat", physics_data::IcruSoftText(table));
    WriteFile(folder / "AirMUtr.dat", physics_data::AirMuTrText());
    WriteFile(folder / "Mus.dat", physics_data::MusText());
    std::printf("wrote %zu energy rows and %zu scattering rows to %s\n", table.energyKeV.size(),
                table.formX.size(), folder.string().c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "generate_physics_data: %s\n", e.what());
    return 1;
  }
  return 0;
}
