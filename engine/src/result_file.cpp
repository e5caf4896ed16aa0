#include "result_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "engine_error.h"
#include "fixed_format.h"

namespace tsl2 {
namespace {

constexpr float CELL_VOLUME = 0.005f;  // cm^3: 0.1 x 0.5 x 0.1

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

[[noreturn]] void Fail(FailedOperation operation, const std::filesystem::path& file, int error) {
  throw EngineError(operation, file.string(), error != 0 ? std::strerror(error) : "write failed");
}

}  // namespace

void NormaliseDose(DoseTally& tally) {
  if (tally.AirKermaReference == 0.0) {
    throw EngineError(FailedOperation::FloatingPoint, "",
                      "division by zero in the dose normalisation: no history passed the "
                      "air-kerma reference window, so AirKermaReference is 0");
  }
  // The sums are kept in double for the run; each division takes the double
  // and stores its quotient as a single, as a single-precision tally would.
  const double reference8 = tally.AirKermaReference * 8.0;
  for (double& value : tally.values) {
    const float perVolume = static_cast<float>(value / static_cast<double>(CELL_VOLUME));
    value = static_cast<float>(static_cast<double>(perVolume) / reference8);
  }
}

void WriteResultFile(const std::filesystem::path& file, const Conditions& conditions,
                     const DoseTally& tally) {
  namespace ff = fixed_format;
  errno = 0;
  std::unique_ptr<std::FILE, FileCloser> out(std::fopen(file.c_str(), "wb"));
  if (!out) Fail(FailedOperation::Open, file, errno);

  std::string header = ff::FormatA(conditions.Comment(), 30) + "\r\n";
  for (float value : {conditions.SourceAxisDistance, conditions.BeamWidthRotation,
                      conditions.BeamWidthAxial, conditions.PhantomA, conditions.PhantomB}) {
    header += ff::FormatF(value, 5, 1) + "\r\n";
  }
  header += ff::FormatE(conditions.HistoryCount, 8, 2) + "\r\n";
  if (std::fwrite(header.data(), 1, header.size(), out.get()) != header.size()) {
    Fail(FailedOperation::Write, file, errno);
  }

  char row[RESULT_ROW_CHARACTERS + 2];
  row[RESULT_ROW_CHARACTERS] = '\r';
  row[RESULT_ROW_CHARACTERS + 1] = '\n';
  for (int component = 1; component <= 2; ++component) {
    for (int cellY = 1; cellY <= CELLS_Y; ++cellY) {
      for (int cellZ = 1; cellZ <= CELLS_Z; ++cellZ) {
        for (int cellX = 1; cellX <= CELLS_X; ++cellX) {
          ff::PutE(row + (cellX - 1) * RESULT_VALUE_WIDTH,
                   tally.values[DoseTally::Index(component, cellX, cellY, cellZ)],
                   RESULT_VALUE_WIDTH, 3);
        }
        if (std::fwrite(row, 1, sizeof row, out.get()) != sizeof row) {
          Fail(FailedOperation::Write, file, errno);
        }
      }
    }
  }
  // A full disk may show only when the buffer is flushed or the file closed.
  if (std::fflush(out.get()) != 0 || std::ferror(out.get()))
    Fail(FailedOperation::Write, file, errno);
  errno = 0;
  if (std::fclose(out.release()) != 0) Fail(FailedOperation::Write, file, errno);
}

}  // namespace tsl2
