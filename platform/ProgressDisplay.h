#pragma once

#include <QString>

namespace hv {

// A progress display with a position from 0 to 100 and a caption.
class ProgressDisplay {
public:
    virtual ~ProgressDisplay() = default;
    virtual void setValue(double value) = 0;
    virtual double value() const = 0;
    virtual void setText(const QString& text) = 0;
    virtual QString text() const = 0;
};

} // namespace hv
