#pragma once

#include <QAccessible>

#include <functional>

namespace hv {

// Hands an event about a control to screen readers, when one listens or a
// listener is set (the tests set one: they run without a screen reader).
bool accessibleEventsWanted();
void sendAccessibleEvent(QAccessibleEvent& event);
void setAccessibleEventListener(std::function<void(QAccessibleEvent&)> listener);

} // namespace hv
