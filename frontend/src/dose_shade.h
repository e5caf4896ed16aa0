// The colour scale shared by the dose maps and their legend.
#pragma once

namespace tessalin {

// Dose fraction d (1 = the reference air kerma) -> green and blue level s of
// the map colour RGB(255, s, s): 255 at 0 %, 0 at 100 % and above.
int DoseShade(double d);

}  // namespace tessalin
