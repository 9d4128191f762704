#pragma once

namespace hv {

// Lets pending window events run, so the window stays responsive inside a
// long loop.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void processEvents() = 0;
};

} // namespace hv
