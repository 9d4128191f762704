// The window's colours and fonts. The design paints the window, its frames
// and option buttons white (or the button face with a skin) and the buttons'
// faces white; every text drawn on such a forced background takes the colour
// scheme's text colour when that reads on it, else black or white. The lists
// keep the scheme's colours throughout, the strip beside their headers too.
#include "Form1.h"

#include "widgets/Contrast.h"
#include "widgets/ListView.h"

#include <QApplication>
#include <QEvent>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

namespace hv {

namespace {

constexpr QPalette::ColorGroup kShownGroups[] = {QPalette::Active, QPalette::Inactive};

// Sets `background` as the widget's `fill` colour and makes its `text`
// colour one that reads on it.
void force(QWidget* widget, QPalette::ColorRole fill, const QColor& background, QPalette::ColorRole text) {
    const QPalette scheme = QApplication::palette();
    QPalette palette = widget->palette();
    palette.setColor(fill, background);
    for (QPalette::ColorGroup group : kShownGroups)
        palette.setColor(group, text, legibleOn(background, scheme.color(group, text)));
    widget->setPalette(palette);
}

// The design's size, or the desktop's when that is larger.
QFont designFont(double pointSize) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(std::max(pointSize, QApplication::font().pointSizeF()));
    font.setBold(true);
    return font;
}

} // namespace

QFont Form1::windowFont() {
    return designFont(9);
}

QFont Form1::buttonFont() {
    return designFont(11.25);
}

void Form1::paintSurfaces(const QColor& surface) {
    for (QWidget* widget : std::initializer_list<QWidget*>{this, Frame1, Frame2, Option1, Option2}) {
        if (!widget) continue;
        force(widget, QPalette::Window, surface, QPalette::WindowText);
        widget->setAutoFillBackground(true);
    }
}

void Form1::applyColours() {
    paintSurfaces(skinApplied_ ? QApplication::palette().color(QPalette::Button) : QColor(Qt::white));
    for (QPushButton* button : findChildren<QPushButton*>())
        force(button, QPalette::Button, Qt::white, QPalette::ButtonText);
    const QPalette scheme = QApplication::palette();
    for (ListView* list : {ListView1, ListView2}) {
        QPalette palette = list->palette();
        for (QPalette::ColorRole role : {QPalette::Window, QPalette::WindowText})
            palette.setColor(role, scheme.color(role == QPalette::Window ? QPalette::Base : QPalette::Text));
        list->setPalette(palette);
    }
}

void Form1::changeEvent(QEvent* event) {
    // A new colour scheme of the desktop: the forced colours are set afresh.
    if (event->type() == QEvent::ApplicationPaletteChange && ListView1) applyColours();
    QWidget::changeEvent(event);
}

} // namespace hv
