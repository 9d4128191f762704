#include "MessageBox.h"

#include "core/AppTitle.h"

namespace hv {

Message notice(const QString& text) {
    return Message{text, appTitle(), MessageButtons::Ok, MessageIcon::None};
}

Message question(const QString& text) {
    return Message{text, appTitle(), MessageButtons::YesNo, MessageIcon::None};
}

} // namespace hv
