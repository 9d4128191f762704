#include "AppTitle.h"

#include "BuildInfo.h"

namespace hv {

namespace {
QString& title() {
    static QString value = productName();
    return value;
}
} // namespace

QString appTitle() {
    return title();
}
void setAppTitle(const QString& newTitle) {
    title() = newTitle;
}

} // namespace hv
