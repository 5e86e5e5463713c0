#pragma once

namespace vespar {

inline constexpr int kVersionMajor = 1;
inline constexpr int kVersionMinor = 0;
inline constexpr const char* kProductName = "Vespar";

}  // namespace vespar
