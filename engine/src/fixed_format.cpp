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

void FillStars(char* out, int w) { std::memset(out, '*', static_cast<std::size_t>(std::max(w, 0))); }

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
    while (i >= 0 && decimals[static_cast<std::size_t>(i)] == '9') decimals[static_cast<std::size_t>(i--)] = '0';
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
