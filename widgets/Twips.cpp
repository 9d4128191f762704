#include "Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace hv {

int twipsToPixels(int twips, const QWidget* widget) {
    double dpi = 96.0;
    const QScreen* screen = widget && widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
    if (screen && screen->logicalDotsPerInch() > 0) dpi = screen->logicalDotsPerInch();
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

} // namespace hv
