#include "physics_tables.h"

#include <string>

#include "engine_error.h"
#include "fixed_format.h"

namespace tsl2 {

namespace {

constexpr int MIN_SOFT_ROWS = 2;  // the energy lookup starts its search at row 2
constexpr int BIN_ROWS = 300;

void ReadSoftTissue(const std::filesystem::path& file, PhysicsTables& t) {
  fixed_format::RecordReader reader(file);
  t.SoftRowCount = reader.ReadFreeInteger();
  if (t.SoftRowCount < MIN_SOFT_ROWS || t.SoftRowCount > MAX_SOFT_ROWS) {
    // A larger count would write past the fixed table.
    reader.Fail("the energy row count " + std::to_string(t.SoftRowCount) + " is outside " +
                std::to_string(MIN_SOFT_ROWS) + " to " + std::to_string(MAX_SOFT_ROWS));
  }
  reader.ReadFreeReal();  // carried by the file, not used
  for (int r = 1; r <= t.SoftRowCount; ++r) {
    const std::string_view record = reader.NextRecord();
    t.SoftEnergy[r] = reader.FixedReal(record, 1, 9, 3) * 1000.0f;  // MeV to keV
    t.SoftCoef1[r] = reader.FixedReal(record, 10, 10, 3);
    t.SoftCoef2[r] = reader.FixedReal(record, 20, 10, 3);
    t.SoftCoef3[r] = reader.FixedReal(record, 30, 10, 3);
  }
  for (int r = 1; r <= FORM_ROWS; ++r) {
    const std::string_view record = reader.NextRecord();
    t.FormX[r] = reader.FixedReal(record, 1, 10, 3);
    t.CoherentCumulative[r] = reader.FixedReal(record, 11, 12, 5);
    t.IncoherentS[r] = reader.FixedReal(record, 23, 12, 5);
  }
}

void ReadAirTransfer(const std::filesystem::path& file, PhysicsTables& t) {
  fixed_format::RecordReader reader(file);
  for (int i = 1; i <= BIN_ROWS; ++i) {
    const std::string_view record = reader.NextRecord();
    reader.FixedReal(record, 1, 9, 3);  // the energy: the line's place decides the bin
    t.AirMuTr[i] = reader.FixedReal(record, 10, 12, 4);
  }
}

void ReadFilterAttenuation(const std::filesystem::path& file, PhysicsTables& t) {
  fixed_format::RecordReader reader(file);
  for (int i = 1; i <= BIN_ROWS; ++i) {
    const std::string_view record = reader.NextRecord();
    // Fields 1, 2, 4 and 5 are read only to check they are numbers.
    reader.FixedReal(record, 1, 10, 3);
    reader.FixedReal(record, 11, 13, 5);
    t.FilterMu[i] = reader.FixedReal(record, 24, 13, 5);
    reader.FixedReal(record, 37, 13, 5);
    reader.FixedReal(record, 50, 13, 5);
  }
}

}  // namespace

PhysicsTables ReadPhysicsTables(const std::filesystem::path& folder) {
  PhysicsTables t;
  ReadSoftTissue(folder / "ICRUSoft.dat", t);
  t.IncoherentSMax = t.IncoherentS[FORM_ROWS];
  t.CoherentTotal = t.CoherentCumulative[FORM_ROWS];
  ReadAirTransfer(folder / "AirMUtr.dat", t);
  ReadFilterAttenuation(folder / "Mus.dat", t);
  return t;
}

}  // namespace tsl2
