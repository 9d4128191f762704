#pragma once

namespace hv {

// Watches the window system's start-up (the construction of the
// QApplication) from construction to done(). When no display can be opened,
// Qt would print several lines and abort; instead the program writes one
// line to standard error, naming what it looked for, and ends with status 1.
// What Qt reports while the start-up succeeds is passed on at done().
class DisplayCheck {
public:
    explicit DisplayCheck(const char* programName);
    ~DisplayCheck();
    DisplayCheck(const DisplayCheck&) = delete;
    DisplayCheck& operator=(const DisplayCheck&) = delete;
    void done();
};

} // namespace hv
