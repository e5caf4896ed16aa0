#include "number_pattern.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace tessalin {
namespace {

// |value| as 15 significant decimal digits and the power of ten of the first.
struct DecimalDigits {
  std::vector<int> digits;  // most significant first
  int exponent = 0;         // value = 0.d1d2... x 10^(exponent + 1)
};

DecimalDigits ToDecimal(double magnitude) {
  DecimalDigits result;
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.14e", magnitude);
  // buffer holds d.dddddddddddddde+XX
  for (const char* p = buffer; *p != 'e'; ++p) {
    if (*p >= '0' && *p <= '9') result.digits.push_back(*p - '0');
  }
  const char* e = std::strchr(buffer, 'e');
  result.exponent = std::atoi(e + 1);
  return result;
}

// Rounds digits (half away from zero) to keep leading digits. Returns true
// when the carry ran out of the front, so that a 1 was prepended.
bool RoundDigits(std::vector<int>& digits, int keep) {
  if (keep >= static_cast<int>(digits.size())) {
    digits.resize(keep, 0);
    return false;
  }
  const bool up = digits[keep] >= 5;
  digits.resize(keep);
  if (!up) return false;
  for (int i = keep - 1; i >= 0; --i) {
    if (++digits[i] < 10) return false;
    digits[i] = 0;
  }
  digits.insert(digits.begin(), 1);
  return true;
}

struct NumberSlots {
  std::string prefix, suffix;  // literal characters around the number
  std::string integerPart;     // the "0"/"#" characters before the point
  std::string fractionPart;    // the "0"/"#" characters after the point
  bool hasPoint = false;
  bool hasExponent = false;
  char exponentSign = '+';
  int exponentDigits = 0;
};

bool IsDigitSlot(char c) { return c == '0' || c == '#'; }

NumberSlots ParsePattern(std::string_view pattern) {
  NumberSlots slots;
  std::size_t i = 0;
  while (i < pattern.size() && !IsDigitSlot(pattern[i]) && pattern[i] != '.') {
    slots.prefix += pattern[i++];
  }
  while (i < pattern.size() && IsDigitSlot(pattern[i])) slots.integerPart += pattern[i++];
  if (i < pattern.size() && pattern[i] == '.') {
    slots.hasPoint = true;
    ++i;
    while (i < pattern.size() && IsDigitSlot(pattern[i])) slots.fractionPart += pattern[i++];
  }
  if (i + 2 < pattern.size() && (pattern[i] == 'E' || pattern[i] == 'e') &&
      (pattern[i + 1] == '+' || pattern[i + 1] == '-') && pattern[i + 2] == '0') {
    slots.hasExponent = true;
    slots.exponentSign = pattern[i + 1];
    i += 2;
    while (i < pattern.size() && pattern[i] == '0') {
      ++slots.exponentDigits;
      ++i;
    }
  }
  slots.suffix = std::string(pattern.substr(i));
  return slots;
}

// Digits the integer part must always write: from the first "0" to the point.
int MinimumIntegerDigits(const std::string& integerPart) {
  const auto first = integerPart.find('0');
  return first == std::string::npos ? 0 : static_cast<int>(integerPart.size() - first);
}

// Trailing "#" places of the fraction drop their zeros.
std::string TrimOptionalFraction(std::string fraction, const std::string& slots) {
  std::size_t required = slots.size();
  while (required > 0 && slots[required - 1] == '#') --required;
  while (fraction.size() > required && fraction.back() == '0') fraction.pop_back();
  return fraction;
}

std::string FixedText(double magnitude, const NumberSlots& slots, bool& isZero) {
  const int fractionDigits = static_cast<int>(slots.fractionPart.size());
  std::string integerText, fractionText;
  isZero = true;
  if (magnitude != 0) {
    DecimalDigits d = ToDecimal(magnitude);
    int pointAt = d.exponent + 1;  // digits before the decimal point
    const int keep = pointAt + fractionDigits;
    if (keep >= 0) {
      if (keep == 0) {
        // Only the rounding of the first digit can reach the last place.
        if (d.digits[0] >= 5) {
          d.digits = {1};
          pointAt += 1;
        } else {
          d.digits.clear();
        }
      } else if (RoundDigits(d.digits, keep)) {
        pointAt += 1;
      }
      for (int v : d.digits) {
        if (v != 0) isZero = false;
      }
      // Write digit k (0-based from the most significant) at its place.
      for (int place = std::max(pointAt, 0) - 1; place >= 0; --place) {
        const int k = pointAt - 1 - place;
        integerText +=
            static_cast<char>('0' + (k < static_cast<int>(d.digits.size()) ? d.digits[k] : 0));
      }
      for (int f = 0; f < fractionDigits; ++f) {
        const int k = pointAt + f;
        const bool present = k >= 0 && k < static_cast<int>(d.digits.size());
        fractionText += static_cast<char>('0' + (present ? d.digits[k] : 0));
      }
    }
  }
  if (fractionText.empty()) fractionText.assign(fractionDigits, '0');
  // Strip leading zeros, then pad to the pattern's required digits.
  std::size_t nonZero = integerText.find_first_not_of('0');
  integerText = nonZero == std::string::npos ? std::string() : integerText.substr(nonZero);
  const int minimum = MinimumIntegerDigits(slots.integerPart);
  if (static_cast<int>(integerText.size()) < minimum) {
    integerText.insert(0, minimum - integerText.size(), '0');
  }
  fractionText = TrimOptionalFraction(fractionText, slots.fractionPart);
  std::string text = integerText;
  if (slots.hasPoint && !fractionText.empty())
    text += '.' + fractionText;
  else if (slots.hasPoint && !slots.fractionPart.empty())
    text += '.';
  return text;
}

std::string ExponentText(double magnitude, const NumberSlots& slots, bool& isZero) {
  const int integerDigits = std::max<int>(1, static_cast<int>(slots.integerPart.size()));
  const int fractionDigits = static_cast<int>(slots.fractionPart.size());
  std::vector<int> digits(integerDigits + fractionDigits, 0);
  int exponent = 0;
  isZero = magnitude == 0;
  if (!isZero) {
    DecimalDigits d = ToDecimal(magnitude);
    exponent = d.exponent;
    if (RoundDigits(d.digits, integerDigits + fractionDigits)) {
      d.digits.pop_back();
      exponent += 1;
    }
    digits = d.digits;
    exponent -= integerDigits - 1;
  }
  std::string text;
  for (int i = 0; i < integerDigits; ++i) text += static_cast<char>('0' + digits[i]);
  if (slots.hasPoint) {
    text += '.';
    for (int i = 0; i < fractionDigits; ++i)
      text += static_cast<char>('0' + digits[integerDigits + i]);
  }
  text += 'E';
  if (exponent < 0)
    text += '-';
  else if (slots.exponentSign == '+')
    text += '+';
  std::string exponentText = std::to_string(std::abs(exponent));
  if (static_cast<int>(exponentText.size()) < slots.exponentDigits) {
    exponentText.insert(0, slots.exponentDigits - exponentText.size(), '0');
  }
  return text + exponentText;
}

}  // namespace

std::string FormatNumber(double value, std::string_view pattern) {
  if (!std::isfinite(value)) throw std::domain_error("cannot format a non-finite number");
  const NumberSlots slots = ParsePattern(pattern);
  bool isZero = true;
  const std::string number = slots.hasExponent ? ExponentText(std::fabs(value), slots, isZero)
                                               : FixedText(std::fabs(value), slots, isZero);
  // The sign goes in front of the whole text; a value that rounds to zero
  // has no sign to show ("-000.0" or a lone "-" would only confuse).
  const bool negative = value < 0 && !isZero;
  return (negative ? "-" : "") + slots.prefix + number + slots.suffix;
}

std::string PlainNumberText(double value) {
  if (!std::isfinite(value)) return std::to_string(value);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15g", value);
  double rounded = std::strtod(buffer, nullptr);
  if (rounded == 0) rounded = 0;  // no "-0"
  char out[512];
  const auto result = std::to_chars(out, out + sizeof out, rounded, std::chars_format::fixed);
  return std::string(out, result.ptr);
}

}  // namespace tessalin
