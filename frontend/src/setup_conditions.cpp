#include "setup_conditions.h"

#include <QDir>
#include <QSaveFile>
#include <cctype>
#include <cfloat>
#include <cmath>
#include <cstdlib>

#include "number_pattern.h"
#include "text_codec.h"

namespace tessalin {

double ReadTextNumber(const QString& text) {
  std::string compact;
  for (QChar c : text) {
    if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) continue;
    if (c.unicode() > 127) break;  // no ASCII, no number
    compact += static_cast<char>(c.unicode());
  }
  // The longest prefix of the form [sign] digits [. digits] [e [sign] digits].
  std::size_t i = 0;
  const std::size_t n = compact.size();
  if (i < n && (compact[i] == '+' || compact[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < n && std::isdigit(static_cast<unsigned char>(compact[i]))) ++i, ++digits;
  if (i < n && compact[i] == '.') {
    ++i;
    while (i < n && std::isdigit(static_cast<unsigned char>(compact[i]))) ++i, ++digits;
  }
  if (digits == 0) return 0;
  std::size_t end = i;
  if (i < n && (compact[i] == 'e' || compact[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < n && (compact[j] == '+' || compact[j] == '-')) ++j;
    if (j < n && std::isdigit(static_cast<unsigned char>(compact[j]))) {
      while (j < n && std::isdigit(static_cast<unsigned char>(compact[j]))) ++j;
      end = j;
    }
  }
  // strtod in the C locale: the program never changes LC_NUMERIC.
  return std::strtod(compact.substr(0, end).c_str(), nullptr);
}

bool PassesStartChecks(double beamWidthAxial, double beamWidthRotation) {
  return !(beamWidthAxial < 1) && !(beamWidthRotation < 10);
}

bool IsUsableResultName(const QString& name) {
  for (QChar c : name) {
    if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.category() == QChar::Other_Control)
      return false;
  }
  const auto bytes = ToCp932(name);
  return bytes && bytes->size() <= MAX_RESULT_NAME_BYTES;
}

namespace {

void CheckNumber(double value, const char* what) {
  if (!std::isfinite(value) || std::fabs(value) > FLT_MAX) {
    throw ConditionsError(std::string(what) + " is too large for the engine");
  }
}

void AddLine(std::string& text, const std::string& line) {
  text += line;
  text += "\r\n";
}

}  // namespace

std::string BuildConditionsText(const SetupInputs& inputs, const SpectrumVariables& spectrum) {
  if (spectrum.LoadedFileName.isEmpty()) throw ConditionsError("no spectrum has been loaded");
  if (spectrum.LastDirection < 0 || spectrum.LastDirection > MAX_LAST_DIRECTION) {
    throw ConditionsError("the spectrum has an impossible number of directions");
  }
  if (!IsUsableResultName(inputs.ResultName))
    throw ConditionsError("the result name cannot name a file");
  const auto comment = ToCp932(spectrum.LoadedFileName);
  if (!comment) throw ConditionsError("the spectrum file name has no Shift_JIS form");
  const auto result = ToCp932(inputs.ResultName + QStringLiteral(".tsl2"));
  if (!result) throw ConditionsError("the result name has no Shift_JIS form");

  CheckNumber(inputs.SourceAxisDistance, "the focus to rotation-centre distance");
  CheckNumber(inputs.BeamWidthRotation, "the beam size in the rotation direction");
  CheckNumber(inputs.BeamWidthAxial, "the beam size along the body axis");
  CheckNumber(inputs.PhantomA, "phantom dimension a");
  CheckNumber(inputs.PhantomB, "phantom dimension b");
  CheckNumber(inputs.HistoryCount, "the number of histories");
  const int last = spectrum.LastDirection;
  for (int j = 0; j <= last; ++j) {
    CheckNumber(spectrum.DirectionPosition[j], "a direction's position");
    CheckNumber(spectrum.DirectionFiltration[j] * 0.1, "a direction's filtration");
  }
  for (int k = 1; k <= SPECTRUM_BINS; ++k)
    CheckNumber(spectrum.DirectionFluence[0][k], "a fluence");

  std::string text;
  AddLine(text, *comment);
  AddLine(text, *result);
  AddLine(text, FormatNumber(inputs.SourceAxisDistance, "000.0"));
  AddLine(text, FormatNumber(inputs.BeamWidthRotation, "000.0"));
  AddLine(text, FormatNumber(inputs.BeamWidthAxial, "000.0"));
  AddLine(text, FormatNumber(inputs.PhantomA, "000.0"));
  AddLine(text, FormatNumber(inputs.PhantomB, "000.0"));
  AddLine(text, FormatNumber(inputs.HistoryCount, "0.000E+00"));
  AddLine(text, FormatNumber(last, "000"));
  for (int j = 0; j <= last; ++j) {
    // The file holds the filtration in mm of aluminium; the engine wants cm.
    AddLine(text, FormatNumber(spectrum.DirectionPosition[j], "000.0") +
                      FormatNumber(spectrum.DirectionFiltration[j] * 0.1, "  00.0000"));
  }
  // Only the central spectrum goes to the engine; the other directions
  // reach it through their filtration.
  for (int k = 1; k <= SPECTRUM_BINS; ++k) {
    AddLine(text, FormatNumber(0.5 * k, "0000.0") +
                      FormatNumber(spectrum.DirectionFluence[0][k], "  0.000E+00"));
  }
  return text;
}

void WriteConditionsFile(const QString& folder, const std::string& bytes) {
  QSaveFile file(QDir(folder).filePath(CONDITIONS_FILE_NAME));
  if (!file.open(QIODevice::WriteOnly)) {
    throw ConditionsError("cannot create " + file.fileName().toStdString() + ": " +
                          file.errorString().toStdString());
  }
  const qint64 size = static_cast<qint64>(bytes.size());
  if (file.write(bytes.data(), size) != size || !file.commit()) {
    throw ConditionsError("cannot write " + file.fileName().toStdString() + ": " +
                          file.errorString().toStdString());
  }
}

}  // namespace tessalin
