// Fixed-width text fields of the engine's files: list-directed reading,
// fixed-column Fw.d / Ew.d fields, and the Iw, Fw.d, Ew.d, Aw writers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tsl2::fixed_format {

// Writers. Each returns exactly w characters (asterisks when the value does
// not fit), right-justified and blank padded.
std::string FormatI(std::int64_t value, int w);
std::string FormatF(double value, int w, int d);
std::string FormatE(double value, int w, int d);
std::string FormatA(std::string_view text, int w);

// Writes the Ew.d text of value into out[0..w) without allocating; used for
// the 1.6 million values of the result file.
void PutE(char* out, double value, int w, int d);

}  // namespace tsl2::fixed_format
