// The start of a run: reading the setup window's numbers, checking them and
// writing the conditions file joken.dat for the engine.
#pragma once

#include <QString>
#include <stdexcept>
#include <string>

#include "spectrum_file.h"

namespace tessalin {

inline const QString CONDITIONS_FILE_NAME = QStringLiteral("joken.dat");
inline constexpr int MAX_RESULT_NAME_BYTES = 25;  // + ".tsl2" fills the engine's 30

// The number a text box holds: the decimal number at the start of its text,
// blanks anywhere ignored, a point as decimal separator and an optional
// exponent; a text that does not begin with a number reads as 0.
// " 1 2.5cm" -> 12.5, "abc" -> 0, "-3e2" -> -300. May return +-infinity for
// a number too large for a double.
double ReadTextNumber(const QString& text);

// The two checks of the start: beam size along the body axis at least 1 cm,
// in the rotation direction at least 10 cm.
bool PassesStartChecks(double beamWidthAxial, double beamWidthRotation);

// Whether text can name the result file: no folder separator, no control
// character, encodable in code page 932 in at most 25 bytes. Empty is allowed.
bool IsUsableResultName(const QString& name);

// The inputs of one run, as read from the setup window.
struct SetupInputs {
  QString ResultName;             // without ".tsl2"
  double SourceAxisDistance = 0;  // cm
  double BeamWidthRotation = 0;   // cm
  double BeamWidthAxial = 0;      // cm
  double PhantomA = 0;            // cm
  double PhantomB = 0;            // cm
  double HistoryCount = 0;
};

// Something that keeps the conditions from being written; what() says what
// (for the log; the user sees the input-error message).
class ConditionsError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The bytes of joken.dat: code page 932, CR LF line ends, 9 + (N + 1) + 300
// lines. Line 1 names the loaded spectrum file. Throws ConditionsError for a
// number that is not finite or beyond single precision (the engine's reals),
// an unusable result name, a name not encodable in code page 932, or when no
// spectrum has been loaded.
std::string BuildConditionsText(const SetupInputs& inputs, const SpectrumVariables& spectrum);

// Replaces folder/joken.dat with bytes. Written beside it and renamed, so a
// failure never leaves a partial file. Throws ConditionsError.
void WriteConditionsFile(const QString& folder, const std::string& bytes);

}  // namespace tessalin
