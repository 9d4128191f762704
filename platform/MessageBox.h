#pragma once

#include <QString>

namespace hv {

enum class MessageButtons { Ok, YesNo };
enum class MessageIcon { None, Warning };
enum class MessageAnswer { Ok, Yes, No };

struct Message {
    QString text;
    QString title; // the application title unless the message has its own
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
};

// Modal message boxes.
class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual MessageAnswer show(const Message& message) = 0;
};

// An OK-only notice without icon under the application title.
inline Message notice(const QString& text, const QString& appTitle) {
    return Message{text, appTitle, MessageButtons::Ok, MessageIcon::None};
}
// A Yes/No question without icon under the application title.
inline Message question(const QString& text, const QString& appTitle) {
    return Message{text, appTitle, MessageButtons::YesNo, MessageIcon::None};
}

} // namespace hv
