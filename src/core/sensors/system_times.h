#pragma once

#include <cstdint>

namespace vespar {

// Idle, kernel (idle included) and user time of all processors since boot, in 100-ns units.
class SystemTimes {
  public:
    virtual ~SystemTimes() = default;
    // False when the times cannot be read; the outputs may then hold anything.
    virtual bool Read(std::int64_t& idle, std::int64_t& kernel, std::int64_t& user) = 0;
};

}  // namespace vespar
