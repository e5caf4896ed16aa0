#include "fixed_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

#include "engine_error.h"

namespace tsl2::fixed_format {

namespace {

// Significant digits asked of to_chars before rounding to the field. The
// conversion is correctly rounded, so the digit after the kept ones decides
// "half away from zero" on the exact binary value unless the 36 digits after
// it are all nines, which no value of a field here comes near.
constexpr int GUARD_DIGITS = 40;

void FillStars(char* out, int w) {
  std::memset(out, '*', static_cast<std::size_t>(std::max(w, 0)));
}

// Right-justifies text[0..n) in out[0..w), or stars when it does not fit.
void PutRight(char* out, int w, const char* text, int n) {
  if (w <= 0) return;
  if (n > w) {
    FillStars(out, w);
    return;
  }
  std::memset(out, ' ', static_cast<std::size_t>(w - n));
  std::memcpy(out + (w - n), text, static_cast<std::size_t>(n));
}

// NaN and infinities: written as words, since the traps normally stop a run
// before one can reach a file.
int NonFiniteText(double value, char* text) {
  const char* word = std::isnan(value) ? "NaN" : (value < 0 ? "-Inf" : "Inf");
  const int n = static_cast<int>(std::strlen(word));
  std::memcpy(text, word, static_cast<std::size_t>(n));
  return n;
}

// Builds the Ew.d text (without padding) into text; returns its length.
int ETextOf(double value, int d, char* text) {
  if (!std::isfinite(value)) return NonFiniteText(value, text);
  int n = 0;
  const bool negative = std::signbit(value) && value != 0.0;
  const double magnitude = std::fabs(value);
  char digits[GUARD_DIGITS + 2];
  int exponent = 0;  // value = 0.digits x 10^exponent
  if (magnitude == 0.0) {
    std::memset(digits, '0', static_cast<std::size_t>(d));
  } else {
    char buffer[GUARD_DIGITS + 16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                      std::chars_format::scientific, GUARD_DIGITS);
    // buffer: D.DDDD...e[+-]XX
    const char* e = std::find(buffer, result.ptr, 'e');
    int scientificExponent = 0;
    std::from_chars(e + (e[1] == '+' ? 2 : 1), result.ptr, scientificExponent);
    char all[GUARD_DIGITS + 2];
    all[0] = buffer[0];
    std::memcpy(all + 1, buffer + 2, GUARD_DIGITS);  // digits after the point
    exponent = scientificExponent + 1;
    const bool up = all[d] >= '5';
    std::memcpy(digits, all, static_cast<std::size_t>(d));
    if (up) {
      int i = d - 1;
      while (i >= 0 && digits[i] == '9') digits[i--] = '0';
      if (i >= 0) {
        ++digits[i];
      } else {  // .999 -> .100 with the exponent raised
        digits[0] = '1';
        ++exponent;
      }
    }
  }
  if (negative) text[n++] = '-';
  text[n++] = '.';
  std::memcpy(text + n, digits, static_cast<std::size_t>(d));
  n += d;
  text[n++] = 'E';
  text[n++] = exponent < 0 ? '-' : '+';
  const int absExponent = exponent < 0 ? -exponent : exponent;
  if (absExponent > 99) return 1000;  // no room for a third digit: stars
  text[n++] = static_cast<char>('0' + absExponent / 10);
  text[n++] = static_cast<char>('0' + absExponent % 10);
  return n;
}

}  // namespace

std::string FormatI(std::int64_t value, int w) {
  std::string out(static_cast<std::size_t>(std::max(w, 0)), ' ');
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, value);
  PutRight(out.data(), w, text, static_cast<int>(result.ptr - text));
  return out;
}

std::string FormatF(double value, int w, int d) {
  std::string out(static_cast<std::size_t>(std::max(w, 0)), ' ');
  if (w <= 0) return out;
  if (d < 0) {
    FillStars(out.data(), w);
    return out;
  }
  if (!std::isfinite(value)) {
    char text[8];
    PutRight(out.data(), w, text, NonFiniteText(value, text));
    return out;
  }
  const bool negative = std::signbit(value);
  std::string fixed(400 + static_cast<std::size_t>(d), '\0');
  const auto result = std::to_chars(fixed.data(), fixed.data() + fixed.size(), std::fabs(value),
                                    std::chars_format::fixed, d + GUARD_DIGITS);
  fixed.resize(static_cast<std::size_t>(result.ptr - fixed.data()));
  const std::size_t point = fixed.find('.');
  std::string integer = "0" + fixed.substr(0, point);  // spare digit for a carry
  std::string decimals = fixed.substr(point + 1, static_cast<std::size_t>(d));
  if (fixed[point + 1 + static_cast<std::size_t>(d)] >= '5') {
    int i = d - 1;
    while (i >= 0 && decimals[static_cast<std::size_t>(i)] == '9')
      decimals[static_cast<std::size_t>(i--)] = '0';
    if (i >= 0) {
      ++decimals[static_cast<std::size_t>(i)];
    } else {
      std::size_t j = integer.size();
      while (integer[--j] == '9') integer[j] = '0';
      ++integer[j];
    }
  }
  const std::size_t firstDigit = integer.find_first_not_of('0');
  integer = firstDigit == std::string::npos ? std::string() : integer.substr(firstDigit);
  const bool zero = integer.empty() && decimals.find_first_not_of('0') == std::string::npos;
  // A value that rounds to zero is written unsigned: "-.0" would read back as
  // the same zero and only puzzle the reader.
  std::string text = (negative && !zero) ? "-" : "";
  text += (integer.empty() && d == 0) ? "0" : integer;
  text += '.';
  text += decimals;
  PutRight(out.data(), w, text.data(), static_cast<int>(text.size()));
  return out;
}

void PutE(char* out, double value, int w, int d) {
  if (w <= 0) return;
  if (d < 1 || d > GUARD_DIGITS - 2) {
    FillStars(out, w);
    return;
  }
  char text[GUARD_DIGITS + 16];
  const int n = ETextOf(value, d, text);
  if (n > w) {
    FillStars(out, w);
    return;
  }
  PutRight(out, w, text, n);
}

std::string FormatE(double value, int w, int d) {
  std::string out(static_cast<std::size_t>(std::max(w, 0)), ' ');
  PutE(out.data(), value, w, d);
  return out;
}

std::string FormatA(std::string_view text, int w) {
  if (w <= 0) return std::string();
  const std::size_t width = static_cast<std::size_t>(w);
  if (text.size() >= width) return std::string(text.substr(0, width));
  return std::string(width - text.size(), ' ') + std::string(text);
}

}  // namespace tsl2::fixed_format

namespace tsl2::fixed_format {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string Quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

// Parses a real whose blanks have been removed: [sign] digits [. digits]
// [exponent], exponent = (E|D) [sign] digits, or sign digits. Without a point
// implied decimals are implied. The value is converted once, from the exact
// decimal, to the nearest single.
bool ParseCompactReal(std::string_view text, int impliedDecimals, float& value, FieldError& error) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::string digits;
  int decimals = 0;
  bool point = false;
  for (; i < text.size(); ++i) {
    if (IsDigit(text[i])) {
      digits += text[i];
      if (point) ++decimals;
    } else if (text[i] == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (digits.empty()) {
    error.reason = Quoted(text) + " is not a number";
    return false;
  }
  long exponent = 0;
  if (i < text.size()) {
    if (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd') ++i;
    bool negativeExponent = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
      negativeExponent = text[i++] == '-';
    } else if (i > 0 && !(text[i - 1] == 'E' || text[i - 1] == 'e' || text[i - 1] == 'D' ||
                          text[i - 1] == 'd')) {
      error.reason = Quoted(text) + " is not a number";
      return false;
    }
    const std::size_t start = i;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
      if (exponent < 100000) exponent = exponent * 10 + (text[i] - '0');
    }
    if (i == start || i != text.size()) {
      error.reason = Quoted(text) + " is not a number";
      return false;
    }
    if (negativeExponent) exponent = -exponent;
  }
  exponent -= point ? decimals : impliedDecimals;
  const std::size_t firstNonZero = digits.find_first_not_of('0');
  if (firstNonZero == std::string::npos) {
    value = negative ? -0.0f : 0.0f;
    return true;
  }
  // Decimal exponent of the leading digit decides range before conversion,
  // so that no huge exponent reaches the converter.
  const long leading = exponent + static_cast<long>(digits.size() - firstNonZero) - 1;
  if (leading > 38 + 1) {
    error.reason = Quoted(text) + " is too large for a single-precision real";
    return false;
  }
  if (leading < -46) {  // below half the smallest denormal: underflows to 0
    value = negative ? -0.0f : 0.0f;
    return true;
  }
  const std::string decimal = digits.substr(firstNonZero) + "e" + std::to_string(exponent);
  float magnitude = 0;
  const auto result = std::from_chars(decimal.data(), decimal.data() + decimal.size(), magnitude,
                                      std::chars_format::scientific);
  if (result.ec == std::errc::result_out_of_range) {
    if (leading < 0) {
      magnitude = 0.0f;  // underflow passes silently, as in arithmetic
    } else {
      error.reason = Quoted(text) + " is too large for a single-precision real";
      return false;
    }
  } else if (result.ec != std::errc() || result.ptr != decimal.data() + decimal.size()) {
    error.reason = Quoted(text) + " is not a number";
    return false;
  }
  value = negative ? -magnitude : magnitude;
  return true;
}

bool IsSeparator(char c) { return c == ' ' || c == ',' || c == '\t'; }

}  // namespace

bool ParseFixedReal(std::string_view field, int d, float& value, FieldError& error) {
  std::string compact;
  for (char c : field) {
    if (c != ' ') compact += c;
  }
  if (compact.empty()) {
    value = 0.0f;
    return true;
  }
  return ParseCompactReal(compact, d, value, error);
}

bool ParseFreeReal(std::string_view token, float& value, FieldError& error) {
  if (token.empty()) {
    error.reason = "no value";
    return false;
  }
  return ParseCompactReal(token, 0, value, error);
}

bool ParseFreeInteger(std::string_view token, std::int32_t& value, FieldError& error) {
  std::string_view digits = token;
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (digits.empty() || result.ptr != digits.data() + digits.size() ||
      (result.ec != std::errc() && result.ec != std::errc::result_out_of_range)) {
    error.reason = Quoted(token) + " is not an integer";
    return false;
  }
  if (result.ec == std::errc::result_out_of_range) {
    error.reason = Quoted(token) + " is too large for a 32-bit integer";
    return false;
  }
  return true;
}

RecordReader::RecordReader(const std::filesystem::path& file) : name_(file.filename().string()) {
  std::error_code status;
  if (std::filesystem::is_directory(file, status)) {
    throw EngineError(FailedOperation::Open, name_,
                      "a folder of that name is in the way of the file");
  }
  std::ifstream stream(file, std::ios::binary);
  if (!stream) {
    std::error_code ignored;
    throw EngineError(FailedOperation::Open, name_,
                      std::filesystem::exists(file, ignored)
                          ? "the file cannot be opened for reading"
                          : "the file does not exist");
  }
  std::ostringstream contents;
  contents << stream.rdbuf();
  if (stream.bad()) throw EngineError(FailedOperation::Read, name_, "the file cannot be read", 1);
  text_ = std::move(contents).str();
  Split(text_);
}

RecordReader::RecordReader(std::string name, std::string_view text)
    : name_(std::move(name)), text_(text) {
  Split(text_);
}

void RecordReader::Split(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
    if (end == std::string_view::npos) end = text.size();
    std::string_view record = text.substr(start, end - start);
    if (!record.empty() && record.back() == '\r') record.remove_suffix(1);
    records_.push_back(record);
    start = next;
  }
}

void RecordReader::Fail(const std::string& reason) const {
  throw EngineError(FailedOperation::Read, name_, reason, lineNumber_);
}

std::string_view RecordReader::NextRecord() {
  ++lineNumber_;
  if (next_ >= records_.size()) {
    Fail(records_.empty()
             ? std::string("end of file: the file is empty")
             : "end of file: the file ends after line " + std::to_string(records_.size()));
  }
  return records_[next_++];
}

std::string RecordReader::NextText(std::size_t n) {
  std::string text(NextRecord().substr(0, n));
  text.resize(n, ' ');
  return text;
}

void RecordReader::ReadFreeReals(float* values, int count) {
  int got = 0;
  while (got < count) {
    const std::string_view record = NextRecord();
    std::size_t i = 0;
    while (got < count) {
      while (i < record.size() && IsSeparator(record[i])) ++i;
      if (i >= record.size()) break;
      const std::size_t start = i;
      while (i < record.size() && !IsSeparator(record[i])) ++i;
      FieldError error;
      if (!ParseFreeReal(record.substr(start, i - start), values[got], error)) Fail(error.reason);
      ++got;
    }
  }
}

float RecordReader::ReadFreeReal() {
  float value = 0;
  ReadFreeReals(&value, 1);
  return value;
}

std::int32_t RecordReader::ReadFreeInteger() {
  while (true) {
    const std::string_view record = NextRecord();
    std::size_t i = 0;
    while (i < record.size() && IsSeparator(record[i])) ++i;
    if (i >= record.size()) continue;  // a line without a value does not satisfy the read
    const std::size_t start = i;
    while (i < record.size() && !IsSeparator(record[i])) ++i;
    std::int32_t value = 0;
    FieldError error;
    if (!ParseFreeInteger(record.substr(start, i - start), value, error)) Fail(error.reason);
    return value;
  }
}

float RecordReader::FixedReal(std::string_view record, int column, int w, int d) const {
  const std::size_t start = static_cast<std::size_t>(column - 1);
  std::string_view field =
      start < record.size() ? record.substr(start, static_cast<std::size_t>(w)) : "";
  float value = 0;
  FieldError error;
  if (!ParseFixedReal(field, d, value, error)) {
    Fail("columns " + std::to_string(column) + " to " + std::to_string(column + w - 1) + ": " +
         error.reason);
  }
  return value;
}

}  // namespace tsl2::fixed_format
