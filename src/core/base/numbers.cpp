#include "base/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "base/text.h"

namespace vespar {

namespace {

bool Ignorable(char c) { return c == ' ' || c == '\t' || c == '\n'; }

double RadixNumber(const std::string& text, std::size_t pos, unsigned radix) {
    std::uint64_t value = 0;
    bool any = false;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (Ignorable(c)) continue;
        unsigned digit = 0;
        if (c >= '0' && c <= '9') {
            digit = static_cast<unsigned>(c - '0');
        } else if (radix == 16 && c >= 'a' && c <= 'f') {
            digit = static_cast<unsigned>(c - 'a' + 10);
        } else if (radix == 16 && c >= 'A' && c <= 'F') {
            digit = static_cast<unsigned>(c - 'A' + 10);
        } else {
            break;
        }
        if (digit >= radix) break;
        any = true;
        value = value * radix + digit;
        // Too large for any field: an infinite value, which no field range accepts.
        if (value > 0xFFFFFFFFull) return std::numeric_limits<double>::infinity();
    }
    if (!any) return 0;
    // Literals of up to four hex digits are 16-bit, longer ones 32-bit, both signed.
    if (value <= 0xFFFF) return static_cast<double>(static_cast<std::int16_t>(value));
    return static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(value)));
}

}  // namespace

bool IsWholeNumber(const std::string& text) {
    const std::string t = TrimBlanks(text);
    std::size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    if (i == t.size()) return false;
    return std::all_of(t.begin() + static_cast<std::ptrdiff_t>(i), t.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
}

double NumberAtStart(const std::string& text) {
    std::size_t pos = 0;
    while (pos < text.size() && Ignorable(text[pos])) ++pos;
    if (pos + 1 < text.size() && text[pos] == '&') {
        const char p = text[pos + 1];
        if (p == 'H' || p == 'h') return RadixNumber(text, pos + 2, 16);
        if (p == 'O' || p == 'o') return RadixNumber(text, pos + 2, 8);
    }
    // Collect the decimal number's characters, dropping ignorable ones, then convert.
    std::string digits;
    enum class Part { Sign, Integer, Fraction, ExpSign, Exponent } part = Part::Sign;
    bool mantissa = false;
    bool exponentDigits = false;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (Ignorable(c)) continue;
        if (part == Part::Sign && (c == '+' || c == '-')) {
            digits += c;
            part = Part::Integer;
        } else if (c >= '0' && c <= '9' && part <= Part::Fraction) {
            digits += c;
            mantissa = true;
            if (part == Part::Sign) part = Part::Integer;
        } else if (c == '.' && part <= Part::Integer) {
            digits += c;
            part = Part::Fraction;
        } else if ((c == 'E' || c == 'e') && part <= Part::Fraction && mantissa) {
            digits += 'e';
            part = Part::ExpSign;
        } else if (part == Part::ExpSign && (c == '+' || c == '-')) {
            digits += c;
            part = Part::Exponent;
        } else if (c >= '0' && c <= '9' && part >= Part::ExpSign) {
            digits += c;
            exponentDigits = true;
            part = Part::Exponent;
        } else {
            break;
        }
    }
    if (!mantissa) return 0;
    if (part >= Part::ExpSign && !exponentDigits) {
        digits.erase(digits.find('e'));  // "5e" reads as 5
    }
    // Beyond the range of a double strtod gives an infinity of the right sign: too large
    // for any field, never a small number that a range check would let through.
    return std::strtod(digits.c_str(), nullptr);
}

double RoundHalfEven(double value) {
    if (!std::isfinite(value)) return value;
    const double floor = std::floor(value);
    const double diff = value - floor;
    if (diff < 0.5) return floor;
    if (diff > 0.5) return floor + 1;
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

std::optional<std::int16_t> ToInt16(double value) {
    const double r = RoundHalfEven(value);
    if (!(r >= std::numeric_limits<std::int16_t>::min() &&
          r <= std::numeric_limits<std::int16_t>::max())) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(r);
}

std::optional<std::int32_t> ToInt32(double value) {
    const double r = RoundHalfEven(value);
    if (!(r >= std::numeric_limits<std::int32_t>::min() &&
          r <= std::numeric_limits<std::int32_t>::max())) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(r);
}

std::string NumberText(double value) {
    if (std::floor(value) == value && std::fabs(value) < 1e15) {
        return std::to_string(static_cast<long long>(value));
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", value);
    return buf;
}

// The text of printf's "%.3f" (both round the exact binary value half to even), without
// printf's parsing and locale work: the engine formats the download rate every second.
std::string FormatFixed3(double value) {
    char buf[400];  // the widest double in fixed notation takes 309 digits and 3 decimals
    const auto end = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 3).ptr;
    return {buf, end};
}

}  // namespace vespar
