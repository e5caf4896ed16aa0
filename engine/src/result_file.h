// Normalisation of the dose tally and the result file that carries it to the
// viewer.
#pragma once

#include <filesystem>

#include "conditions.h"
#include "dose_tally.h"

namespace tsl2 {

inline constexpr long RESULT_FILE_LINES = 8007;
inline constexpr long RESULT_FILE_BYTES = 14416077;
inline constexpr int RESULT_VALUE_WIDTH = 9;  // E9.3
inline constexpr int RESULT_ROW_CHARACTERS = CELLS_X * RESULT_VALUE_WIDTH;

// Turns the raw sums into dose relative to the air kerma at the centre: each
// value becomes the single (sum / 0.005 cm^3), then that single divided by
// 8 x AirKermaReference, rounded to a single again. The values stay in the
// tally's storage (exactly, as singles). A zero reference (no history passed
// the reference window) is a division by zero: EngineError (FloatingPoint),
// raised before any value changes.
void NormaliseDose(DoseTally& tally);

// Writes the header and the 8000 dose rows of a normalised tally to file,
// replacing any earlier file, and returns only once the file is closed.
// Throws EngineError (Open or Write) naming the file.
void WriteResultFile(const std::filesystem::path& file, const Conditions& conditions,
                     const DoseTally& tally);

}  // namespace tsl2
