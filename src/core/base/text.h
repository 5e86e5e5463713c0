#pragma once

#include <string>
#include <vector>

namespace vespar {

inline constexpr const char* kCrLf = "\r\n";

// Pads with blanks on the right and cuts to exactly width characters.
std::string PadRightCut(const std::string& text, std::size_t width);
// The rightmost width characters of the text padded with blanks on the left.
std::string PadLeftRight(const std::string& text, std::size_t width);
// Removes leading and trailing space characters (only ' ').
std::string TrimBlanks(const std::string& text);
bool StartsWith(const std::string& text, const std::string& prefix);
// Splits a text into lines; CR LF, LF or a lone CR end a line.
std::vector<std::string> SplitLines(const std::string& text);
// Joins lines with CR LF.
std::string JoinCrLf(const std::vector<std::string>& lines);

}  // namespace vespar
