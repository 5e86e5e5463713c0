#pragma once

#include <QObject>
#include <functional>
#include <string>

#include "comms/host_resolver.h"

namespace vespar::qt {

// Name lookups on Qt's own lookup threads; each answer comes back on the event loop and is
// handed to the core as one event through the front-end's event boundary.
class QtHostResolver : public HostResolver {
  public:
    using EventSink = std::function<void(const std::function<void()>&)>;

    explicit QtHostResolver(EventSink sink) : sink_(std::move(sink)) {}
    void Lookup(const std::string& name, Answer answer) override;

  private:
    EventSink sink_;
    QObject context_;  // answers still on their way when the resolver goes are dropped
};

}  // namespace vespar::qt
