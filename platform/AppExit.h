#pragma once

namespace hv {

// Ends the whole program at once, from wherever it is called, even from an
// event handler running inside a long loop.
class AppExit {
public:
    virtual ~AppExit() = default;
    virtual void exitNow() = 0;
};

} // namespace hv
