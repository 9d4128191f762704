#pragma once

#include <QString>

namespace hv {

// A modal one-line question. Cancel answers the empty text.
class InputBox {
public:
    virtual ~InputBox() = default;
    virtual QString ask(const QString& prompt, const QString& title, const QString& defaultAnswer) = 0;
};

} // namespace hv
