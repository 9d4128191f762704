#pragma once

namespace hv {

// The main window's pointer state, which doubles as the busy flag.
enum class Pointer { Default = 0, Hourglass = 11, Custom = 99 };

class WindowPointer {
public:
    virtual ~WindowPointer() = default;
    virtual Pointer pointer() const = 0;
    virtual void setPointer(Pointer pointer) = 0;
    bool busy() const { return pointer() == Pointer::Hourglass; }
};

} // namespace hv
