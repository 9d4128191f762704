#pragma once

#include <QString>

namespace hv {

// The application title that message boxes without a title of their own
// carry. Start-up sets it once; until then it is the product name.
QString appTitle();
void setAppTitle(const QString& title);

} // namespace hv
