// The ten lines of the run summary that the viewer shows for a picked file.
#pragma once

#include <array>
#include <string>

#include "result_file.h"

namespace tessalin {

inline constexpr int SUMMARY_LINE_COUNT = 10;

// Lines 1..10 of the summary, UTF-8; comment is the header's first line
// already decoded to UTF-8.
std::array<std::string, SUMMARY_LINE_COUNT> SummaryLines(const ResultHeader& header,
                                                         const std::string& comment);

}  // namespace tessalin
