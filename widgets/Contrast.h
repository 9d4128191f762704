#pragma once

#include <QColor>

namespace hv {

// The contrast ratio of two colours by their relative luminance: 1 for equal
// colours, 21 for black on white. Text wants at least kLegibleContrast.
double contrastRatio(const QColor& a, const QColor& b);
inline constexpr double kLegibleContrast = 4.5;

// `preferred` when it reads on `background`; otherwise black or white,
// whichever reads better.
QColor legibleOn(const QColor& background, const QColor& preferred);

// `background`, darkened (under light text) or lightened (under dark text)
// until `text` reads on it.
QColor legibleBehind(const QColor& text, const QColor& background);

} // namespace hv
