#include "conditions.h"

#include <cmath>
#include <string>

#include "engine_error.h"
#include "fixed_format.h"

namespace tsl2 {

namespace {

constexpr int MAX_FILTER_ROW_COUNT = MAX_FILTER_ROWS - 1;  // N; the file holds N + 1 rows

void CopyText(const std::string& text, std::array<char, 30>& out) {
  for (std::size_t i = 0; i < out.size(); ++i) out[i] = text[i];
}

}  // namespace

std::string Conditions::ResultName() const {
  std::string name(ResultFileName.begin(), ResultFileName.end());
  const std::size_t last = name.find_last_not_of(' ');
  return last == std::string::npos ? std::string() : name.substr(0, last + 1);
}

std::string Conditions::Comment() const {
  return std::string(ConditionComment.begin(), ConditionComment.end());
}

Conditions ReadConditions(const std::filesystem::path& file) {
  const std::string name = file.filename().string();
  // The job file is opened without requiring it to exist, so a missing file
  // shows up as a first read that finds no line; no empty file is created.
  std::error_code ignored;
  if (!std::filesystem::exists(file, ignored)) {
    throw EngineError(FailedOperation::Read, name, "end of file: the file does not exist", 1);
  }
  fixed_format::RecordReader reader(file);
  Conditions c;
  CopyText(reader.NextText(30), c.ConditionComment);
  CopyText(reader.NextText(30), c.ResultFileName);
  if (c.ResultName().empty()) {
    // Caught here rather than after the simulation, which would run in vain.
    reader.Fail("line 2 holds no result file name");
  }
  c.SourceAxisDistance = reader.ReadFreeReal();
  c.BeamWidthRotation = reader.ReadFreeReal();
  c.BeamWidthAxial = reader.ReadFreeReal();
  c.PhantomA = reader.ReadFreeReal();
  c.PhantomB = reader.ReadFreeReal();
  c.HistoryCount = reader.ReadFreeReal();
  c.FilterRowCount = reader.ReadFreeInteger();
  if (c.FilterRowCount < 0 || c.FilterRowCount > MAX_FILTER_ROW_COUNT) {
    // The table has room for rows 0 to N + 2 only; a larger count would
    // write past it.
    reader.Fail("the filtration row count " + std::to_string(c.FilterRowCount) +
                " is outside 0 to " + std::to_string(MAX_FILTER_ROW_COUNT));
  }
  const int rows = c.FilterRowCount + 1;
  for (int r = 1; r <= rows; ++r) {
    const std::string_view record = reader.NextRecord();
    c.FilterPosition[r] = reader.FixedReal(record, 1, 5, 1);
    c.FilterThickness[r] = reader.FixedReal(record, 6, 9, 4);
  }
  // The table continues flat for 5 cm beyond its last direction.
  c.FilterPosition[rows + 1] = c.FilterPosition[rows] + 5.0f;
  c.FilterThickness[rows + 1] = c.FilterThickness[rows];
  for (int i = 1; i <= ENERGY_BINS; ++i) {
    float pair[2];  // energy (discarded), weight
    reader.ReadFreeReals(pair, 2);
    c.Spectrum[i] = pair[1];
  }
  DeriveQuantities(c);
  return c;
}

void DeriveQuantities(Conditions& c) {
  c.HalfPhantomA = c.PhantomA * 0.5f;
  c.HalfPhantomB = c.PhantomB * 0.5f;
  // Searched on the weights as read; stops at bin 0 so that an all-zero
  // spectrum cannot walk off the table (it traps in the normalisation).
  int bin = ENERGY_BINS;
  while (bin >= 1 && !(c.Spectrum[bin] > 0.0f)) --bin;
  c.TopEnergyBin = bin + 1;
  float sum = 0.0f;
  for (int i = 1; i <= ENERGY_BINS; ++i) sum += c.Spectrum[i];
  c.SpectrumSum = sum;
  // A zero sum divides by zero here on purpose: with the traps on, the run
  // stops before its first prompt.
  for (int i = 1; i <= ENERGY_BINS; ++i) c.Spectrum[i] = c.Spectrum[i] / c.SpectrumSum;
  c.HalfBeamRotation = c.BeamWidthRotation * 0.5f;
  c.HalfBeamAxial = c.BeamWidthAxial * 0.5f;
  c.FanAngle = 2.0f * std::atan(c.HalfBeamRotation / c.SourceAxisDistance);
  c.ConeHalfAngle = std::atan(c.HalfBeamAxial / c.SourceAxisDistance);
  c.PhantomHalfLength = 20.0f;
}

}  // namespace tsl2
