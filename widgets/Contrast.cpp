#include "Contrast.h"

#include <cmath>

namespace hv {

namespace {

double channel(double value) {
    return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return 0.2126 * channel(rgb.redF()) + 0.7152 * channel(rgb.greenF()) + 0.0722 * channel(rgb.blueF());
}

} // namespace

double contrastRatio(const QColor& a, const QColor& b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor legibleOn(const QColor& background, const QColor& preferred) {
    if (contrastRatio(background, preferred) >= kLegibleContrast) return preferred;
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    return contrastRatio(background, black) >= contrastRatio(background, white) ? black : white;
}

QColor legibleBehind(const QColor& text, const QColor& background) {
    const bool lightText = contrastRatio(text, Qt::black) > contrastRatio(text, Qt::white);
    QColor fill = background;
    for (int step = 0; step < 40 && contrastRatio(text, fill) < kLegibleContrast; ++step) {
        fill = lightText ? fill.darker(110) : fill.lighter(110);
        if (!lightText && fill.value() == 0) fill = QColor(Qt::darkGray);
    }
    return contrastRatio(text, fill) >= kLegibleContrast ? fill : legibleOn(text, fill);
}

} // namespace hv
