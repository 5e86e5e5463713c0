#pragma once

#include <QtGlobal>
#include <initializer_list>
#include <vector>

namespace vespar::qt {

// Variables set to 1 while Qt starts, unless already set: a choice the user made for this
// program wins, and programs the user starts from here keep their own.
class StartUpEnvironment {
  public:
    StartUpEnvironment(std::initializer_list<const char*> names) {
        for (const char* name : names) {
            if (qEnvironmentVariableIsSet(name)) continue;
            qputenv(name, "1");
            set_.push_back(name);
        }
    }
    ~StartUpEnvironment() {
        for (const char* name : set_) qunsetenv(name);
    }
    StartUpEnvironment(const StartUpEnvironment&) = delete;
    StartUpEnvironment& operator=(const StartUpEnvironment&) = delete;

  private:
    std::vector<const char*> set_;
};

}  // namespace vespar::qt
