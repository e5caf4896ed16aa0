#include "viewer_summary.h"

#include "number_pattern.h"

namespace tessalin {

std::array<std::string, SUMMARY_LINE_COUNT> SummaryLines(const ResultHeader& header,
                                                         const std::string& comment) {
  return {
      std::string(),
      "    Spectrum data",
      "     " + comment,
      "    SAD = " + FormatNumber(header.SourceAxisDistance, "#0.0") + " cm",
      "    Field size at SAD",
      FormatNumber(header.BeamWidthRotation, "     #0.0") + " \u00d7 " +
          FormatNumber(header.BeamWidthAxial, "#0.0") + " cm",
      "    Phantom size",
      "      a = " + FormatNumber(header.PhantomA, "##") + " cm ",
      "      b = " + FormatNumber(header.PhantomB, "##") + " cm",
      "    History = " + FormatNumber(header.HistoryCount, "0.0E+00"),
  };
}

}  // namespace tessalin
