#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vespar {

// Turns a host name (or a numeric address) into numeric addresses without ever blocking
// the user-interface thread.
class HostResolver {
  public:
    // The addresses found, as text; empty when the name cannot be resolved.
    using Answer = std::function<void(const std::vector<std::string>& addresses)>;

    virtual ~HostResolver() = default;
    // Starts a lookup. The answer comes later as an event of its own, never from inside
    // this call.
    virtual void Lookup(const std::string& name, Answer answer) = 0;
};

}  // namespace vespar
