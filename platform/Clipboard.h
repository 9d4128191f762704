#pragma once

#include <QString>

namespace hv {

// The system clipboard. Each attempt may fail while another program holds it.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual bool clear() = 0;
    virtual bool setText(const QString& text) = 0;
};

} // namespace hv
