#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vespar {

// The number at the start of a text, read the way stored settings have always been read:
// leading blanks skipped, blanks, tabs and line feeds inside ignored, optional sign, digits,
// decimals and an exponent after E, "&H"/"&O" prefixes for hexadecimal/octal; no number
// gives 0. A number too large for any field (beyond a double, or a prefixed number beyond
// 32 bits) gives an infinity, so that it fails every range instead of reading as 0.
double NumberAtStart(const std::string& text);

// Blanks around an optionally signed whole number (" 9", "+12", "07 "); nothing else.
bool IsWholeNumber(const std::string& text);

// Rounds to the nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double RoundHalfEven(double value);

// The rounded value when it fits a 16-bit (or 32-bit) signed whole number, else nothing.
std::optional<std::int16_t> ToInt16(double value);
std::optional<std::int32_t> ToInt32(double value);

// Plain decimal text: no leading blank, a fraction only when there is one ("5", "5.5", "-1").
std::string NumberText(double value);

// "#0.000": at least one integer digit and exactly three decimals.
std::string FormatFixed3(double value);

}  // namespace vespar
