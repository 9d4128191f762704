// The main window's controls: their places in twips, captions, fonts, tab
// order, and the handlers their events reach.
#include "Form1.h"

#include "widgets/ListView.h"
#include "widgets/ProgressBar.h"
#include "widgets/Twips.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace hv {

namespace {

QRect twipsRect(int left, int top, int width, int height, const QWidget* widget) {
    return QRect(twipsToPixels(left, widget), twipsToPixels(top, widget), twipsToPixels(width, widget),
                 twipsToPixels(height, widget));
}

QPushButton* makeButton(const char* name, const QString& caption, QWidget* parent, const QRect& place) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setFont(Form1::buttonFont());
    button->setGeometry(place);
    button->setMouseTracking(true);
    // Return and Space both press a focused button.
    button->setAutoDefault(true);
    return button;
}

template <class Widget>
Widget* named(Widget* widget, const char* name, const QRect& place) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(place);
    return widget;
}

// Client area in twips.
constexpr int kClientWidth = 8040;
constexpr int kClientHeight = 9075;

} // namespace

void Form1::styleWindow() {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Form1"));
    setFont(windowFont());
    setFixedSize(twipsToPixels(kClientWidth, this), twipsToPixels(kClientHeight, this));
    setMouseTracking(true);
}

void Form1::buildFileControls() {
    auto at = [this](int left, int top, int width, int height) { return twipsRect(left, top, width, height, this); };
    ListView1 = named(new ListView(false, this), "ListView1", at(120, 120, 7800, 1575));
    ListView1->setToolTip(QStringLiteral("Drag and drop files here. Double-click item to remove it. Move | line to "
                                         "right and out of window to reveal full names."));
    ListView1->setAcceptDrops(true);
    ListView1->viewport()->setAcceptDrops(true);
    ListView1->setDragDropMode(QAbstractItemView::NoDragDrop);
    PushButton1 = makeButton("PushButton1", QStringLiteral("Add PSD File(s)"), this, at(120, 1780, 3840, 405));
    PushButton6 =
        makeButton("PushButton6", QStringLiteral("Add All PSD File(s) In Folder"), this, at(4080, 1780, 3840, 405));
    PushButton5 = makeButton("PushButton5", QStringLiteral("Clear List"), this, at(120, 2290, 3840, 405));
    PushButton9 =
        makeButton("PushButton9", QStringLiteral("Load Sample/Example Files"), this, at(4080, 2290, 3840, 405));
}

void Form1::buildSearchControls() {
    auto at = [this](int left, int top, int width, int height) { return twipsRect(left, top, width, height, this); };
    Frame1 = named(new QGroupBox(QStringLiteral("Search For Layers With These Characters"), this), "Frame1",
                   at(120, 2775, 7800, 1350));
    Text1 = named(new QLineEdit(Frame1), "Text1", at(240, 300, 7290, 360));
    PushButton7 = makeButton("PushButton7", QStringLiteral("Start Searching"), Frame1, at(240, 765, 7320, 405));

    Frame2 = named(new QGroupBox(QStringLiteral("Case Options"), this), "Frame2", at(120, 4200, 7800, 720));
    Option2 = named(new QRadioButton(QStringLiteral("Ignore case"), Frame2), "Option2", at(240, 300, 1365, 285));
    Option2->setChecked(true);
    Option1 = named(new QRadioButton(QStringLiteral("Match case"), Frame2), "Option1", at(1800, 300, 1365, 300));
}

void Form1::buildResultControls() {
    auto at = [this](int left, int top, int width, int height) { return twipsRect(left, top, width, height, this); };
    ListView2 = named(new ListView(true, this), "ListView2", at(120, 5040, 7800, 1860));
    ListView2->setToolTip(QStringLiteral("Move | line to right and out of window to reveal full names."));
    PushButton3 = makeButton("PushButton3", QStringLiteral("Open Selected File"), this, at(120, 6990, 3840, 405));
    PushButton2 = makeButton("PushButton2", QStringLiteral("Clear Results"), this, at(4080, 6990, 3840, 405));
    PushButton4 =
        makeButton("PushButton4", QStringLiteral("Save Results As Text File"), this, at(120, 7500, 3840, 405));
    PushButton13 =
        makeButton("PushButton13", QStringLiteral("Save Results As Excel File"), this, at(4080, 7500, 3840, 405));
    PushButton8 =
        makeButton("PushButton8", QStringLiteral("Copy Results To Clipboard"), this, at(120, 8010, 3840, 405));
    PushButton16 = makeButton("PushButton16", QStringLiteral("Help"), this, at(4080, 8010, 3840, 405));

    ProgressBar1 = named(new ProgressBar(this), "ProgressBar1", at(120, 8530, 7800, 405));
    ProgressBar1->setText(QStringLiteral("Progress Bar"));
}

// Every control's mouse moves reach the window's filter, for the hover
// pointer; the file list's keys and clicks too.
void Form1::trackControls() {
    const QList<QWidget*> tracked = {PushButton1,  PushButton6, PushButton5, PushButton9,  PushButton7,
                                     PushButton3,  PushButton2, PushButton4, PushButton13, PushButton8,
                                     PushButton16, Frame1,      Frame2};
    for (QWidget* widget : tracked) {
        widget->setMouseTracking(true);
        widget->installEventFilter(this);
    }
    for (ListView* list : {ListView1, ListView2}) {
        list->viewport()->setMouseTracking(true);
        list->viewport()->installEventFilter(this);
        list->installEventFilter(this);
        list->header()->installEventFilter(this);
        list->setFont(windowFont());
    }
}

void Form1::setTabOrder() {
    // The design's tab indexes 0 to 18 are kept as a property; Tab itself
    // follows the reading order: rows top to bottom, each left to right.
    const QList<QWidget*> design = {ListView1,   ListView2,    PushButton3,  PushButton4, PushButton13,
                                    PushButton2, PushButton16, ProgressBar1, PushButton8, PushButton1,
                                    PushButton6, Frame1,       Text1,        PushButton7, Frame2,
                                    Option2,     Option1,      PushButton5,  PushButton9};
    for (int i = 0; i < design.size(); ++i) design[i]->setProperty("tabIndex", i);
    QList<QWidget*> reading;
    for (QWidget* widget : design)
        if (widget->focusPolicy() & Qt::TabFocus) reading.append(widget);
    auto place = [this](const QWidget* widget) {
        const QPoint at = widget->mapTo(this, QPoint(0, 0));
        return std::pair(at.y(), at.x());
    };
    std::stable_sort(reading.begin(), reading.end(),
                     [&](const QWidget* a, const QWidget* b) { return place(a) < place(b); });
    for (int i = 1; i < reading.size(); ++i) QWidget::setTabOrder(reading[i - 1], reading[i]);
}

void Form1::connectHandlers() {
    const std::pair<QPushButton*, void (Form1::*)()> handlers[] = {
        {PushButton1, &Form1::PushButton1_Click},   {PushButton6, &Form1::PushButton6_Click},
        {PushButton5, &Form1::PushButton5_Click},   {PushButton9, &Form1::PushButton9_Click},
        {PushButton7, &Form1::PushButton7_Click},   {PushButton3, &Form1::PushButton3_Click},
        {PushButton2, &Form1::PushButton2_Click},   {PushButton4, &Form1::PushButton4_Click},
        {PushButton13, &Form1::PushButton13_Click}, {PushButton8, &Form1::PushButton8_Click},
        {PushButton16, &Form1::PushButton16_Click},
    };
    for (const auto& [button, handler] : handlers)
        connect(button, &QPushButton::clicked, this, [this, handler = handler] { (this->*handler)(); });
}

} // namespace hv
