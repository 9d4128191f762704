// The window's colours and fonts. The design paints the window, its frames
// and option buttons white (or the button face with a skin) and the buttons'
// faces white; every text drawn on such a forced background takes the colour
// scheme's text colour when that reads on it, else black or white. The lists
// keep the scheme's colours throughout, the strip beside their headers too,
// with a selection colour deep enough for the selected row's text.
#include "Form1.h"

#include "widgets/Contrast.h"
#include "widgets/ListView.h"

#include <QApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace hv {

namespace {

constexpr double kWindowPoints = 9;
constexpr double kButtonPoints = 11.25;

constexpr QPalette::ColorGroup kShownGroups[] = {QPalette::Active, QPalette::Inactive};

struct Pairing {
    QPalette::ColorRole fill, text;
};

// Paints the widget's `fill` roles with `background` and gives their `text`
// roles a colour that reads on it. Only these roles are the widget's own:
// every other one follows the colour scheme, also when the scheme changes.
void force(QWidget* widget, const QColor& background, std::initializer_list<Pairing> pairings) {
    const QPalette scheme = QApplication::palette();
    QPalette palette = scheme;
    palette.setResolveMask(0);
    for (const Pairing& pairing : pairings) {
        palette.setColor(pairing.fill, background);
        for (QPalette::ColorGroup group : kShownGroups)
            palette.setColor(group, pairing.text, legibleOn(background, scheme.color(group, pairing.text)));
    }
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
    return designFont(kWindowPoints);
}

QFont Form1::buttonFont() {
    return designFont(kButtonPoints);
}

void Form1::paintSurfaces(const QColor& surface) {
    for (QWidget* widget : std::initializer_list<QWidget*>{this, Frame1, Frame2})
        force(widget, surface, {{QPalette::Window, QPalette::WindowText}});
    // Option buttons fill and write with the button roles.
    for (QWidget* option : {Option1, Option2})
        force(option, surface, {{QPalette::Window, QPalette::WindowText}, {QPalette::Button, QPalette::ButtonText}});
    for (QWidget* widget : std::initializer_list<QWidget*>{this, Frame1, Frame2, Option1, Option2})
        widget->setAutoFillBackground(true);
}

// With a desktop font larger than the design's, an option's caption may not
// fit its designed width: the option widens to the right as far as the next
// control leaves room, its place unchanged.
void Form1::fitOptionCaptions() {
    if (Option1->font().pointSizeF() <= kWindowPoints) return;
    const std::pair<QWidget*, int> options[] = {{Option2, Option1->x()}, {Option1, Frame2->width() - 4}};
    for (const auto& [option, limit] : options) {
        const int wanted = std::min(option->sizeHint().width(), limit - option->x());
        if (wanted > option->width()) option->resize(wanted, option->height());
    }
}

void Form1::applyColours() {
    paintSurfaces(skinApplied_ ? QApplication::palette().color(QPalette::Button) : QColor(Qt::white));
    for (QPushButton* button : findChildren<QPushButton*>())
        force(button, Qt::white, {{QPalette::Button, QPalette::ButtonText}});
    const QPalette scheme = QApplication::palette();
    for (ListView* list : {ListView1, ListView2}) {
        QPalette palette = scheme;
        palette.setResolveMask(0);
        for (QPalette::ColorRole role : {QPalette::Window, QPalette::WindowText})
            palette.setColor(role, scheme.color(role == QPalette::Window ? QPalette::Base : QPalette::Text));
        // The selected row's text reads on its highlight.
        for (QPalette::ColorGroup group : kShownGroups)
            palette.setColor(group, QPalette::Highlight,
                             legibleBehind(scheme.color(group, QPalette::HighlightedText),
                                           scheme.color(group, QPalette::Highlight)));
        list->setPalette(palette);
    }
}

} // namespace hv
