#include "AccessibleEvents.h"

namespace hv {

namespace {
std::function<void(QAccessibleEvent&)>& listener() {
    static std::function<void(QAccessibleEvent&)> instance;
    return instance;
}
} // namespace

bool accessibleEventsWanted() {
    return QAccessible::isActive() || listener();
}

void sendAccessibleEvent(QAccessibleEvent& event) {
    if (listener()) listener()(event);
    QAccessible::updateAccessibility(&event);
}

void setAccessibleEventListener(std::function<void(QAccessibleEvent&)> listenerFunction) {
    listener() = std::move(listenerFunction);
}

} // namespace hv
