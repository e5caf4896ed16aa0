// Number texts of the front end: digit patterns ("000.0", "0.000E+00", "##",
// "  00.0000", ...) and the plain shortest decimal form.
#pragma once

#include <string>
#include <string_view>

namespace tessalin {

// Renders value by a digit pattern, copied character by character:
//   "0"     a digit that is always written (leading and trailing zeros too);
//   "#"     a digit written only when significant ("##" writes nothing for a
//           value that rounds to 0; "#0.0" writes at least one integer digit);
//   "."     the decimal point;
//   "E+00"  (or "E-00") an exponent: E, its sign always, at least as many
//           digits as the pattern has zeros after the sign;
//   any other character, blanks included, is written as it stands.
// The value is rounded half away from zero to the digits the pattern shows,
// judged on its 15-significant-digit decimal form so that 2.675 rounds to
// 2.68 as a reader of the number expects. A value that rounds to a non-zero
// number and is negative gets a minus sign in front of the whole text; a value
// with more integer digits than the pattern shows writes all of them.
// Throws std::domain_error for an infinite or NaN value.
std::string FormatNumber(double value, std::string_view pattern);

// A real in its shortest decimal form, no exponent and no blanks, with a
// minus sign when negative: 12.5 -> "12.5", -3 -> "-3", 0.1 + 0.2 -> "0.3"
// (judged on 15 significant digits, so binary noise never shows).
std::string PlainNumberText(double value);

}  // namespace tessalin
