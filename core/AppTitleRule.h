#pragma once

#include <QString>

namespace hv {

// The application title made from a product name: cut at the last blank
// once, then again while longer than 40 characters; a text without a blank is
// kept as it is.
QString shortAppTitle(const QString& productName);

} // namespace hv
