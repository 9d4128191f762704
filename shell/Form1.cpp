#include "Form1.h"

#include "core/AppTitleRule.h"
#include "widgets/CursorFile.h"
#include "platform/AppExit.h"
#include "core/AppTitle.h"
#include "core/BuildInfo.h"
#include "platform/DesktopShell.h"
#include "core/ErrorTrap.h"
#include "platform/FileSystem.h"
#include "widgets/ListView.h"
#include "widgets/ProgressBar.h"
#include "widgets/Twips.h"
#include "search/IsInstalled.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QScreen>
#include <QTime>

namespace hv {

namespace {

// Client area in twips.
constexpr int kClientWidth = 8040;
constexpr int kClientHeight = 9075;

QRect twipsRect(int left, int top, int width, int height, const QWidget* widget) {
    return QRect(twipsToPixels(left, widget), twipsToPixels(top, widget), twipsToPixels(width, widget),
                 twipsToPixels(height, widget));
}

QFont windowFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(9);
    font.setBold(true);
    return font;
}

QFont buttonFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(11.25);
    font.setBold(true);
    return font;
}

} // namespace

Form1::Form1(Platform& platform, QString appFolder, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint
                          | Qt::MSWindowsFixedSizeDialogHint),
      platform_(platform),
      appFolder_(std::move(appFolder)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Form1"));
    setFont(windowFont());
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    setAutoFillBackground(true);
    setFixedSize(twipsToPixels(kClientWidth, this), twipsToPixels(kClientHeight, this));
    setMouseTracking(true);
    buildControls();
    installEventFilter(this);
    setTabOrder();
    connectHandlers();
    installFileListDropTarget();
    randomDraw_ = [] {
        QRandomGenerator generator(static_cast<quint32>(QTime::currentTime().msecsSinceStartOfDay()));
        return static_cast<int>(generator.generateDouble() * 100) + 1;
    };
}

Form1::~Form1() = default;

void Form1::buildControls() {
    auto button = [this](QPushButton*& target, const char* name, const QString& caption, QWidget* parent, int left,
                         int top, int width, int height) {
        target = new QPushButton(caption, parent);
        target->setObjectName(QString::fromLatin1(name));
        target->setFont(buttonFont());
        target->setGeometry(twipsRect(left, top, width, height, this));
        target->setMouseTracking(true);
        target->installEventFilter(this);
        QPalette palette = target->palette();
        palette.setColor(QPalette::Button, Qt::white);
        target->setPalette(palette);
    };

    ListView1 = new ListView(false, this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setGeometry(twipsRect(120, 120, 7800, 1575, this));
    ListView1->setToolTip(QStringLiteral("Drag and drop files here. Double-click item to remove it. Move | line to "
                                         "right and out of window to reveal full names."));
    ListView1->setAcceptDrops(true);
    ListView1->viewport()->setAcceptDrops(true);
    ListView1->setDragDropMode(QAbstractItemView::NoDragDrop);

    button(PushButton1, "PushButton1", QStringLiteral("Add PSD File(s)"), this, 120, 1780, 3840, 405);
    button(PushButton6, "PushButton6", QStringLiteral("Add All PSD File(s) In Folder"), this, 4080, 1780, 3840, 405);
    button(PushButton5, "PushButton5", QStringLiteral("Clear List"), this, 120, 2290, 3840, 405);
    button(PushButton9, "PushButton9", QStringLiteral("Load Sample/Example Files"), this, 4080, 2290, 3840, 405);

    Frame1 = new QGroupBox(QStringLiteral("Search For Layers With These Characters"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(twipsRect(120, 2775, 7800, 1350, this));
    Text1 = new QLineEdit(Frame1);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(twipsRect(240, 300, 7290, 360, this));
    button(PushButton7, "PushButton7", QStringLiteral("Start Searching"), Frame1, 240, 765, 7320, 405);

    Frame2 = new QGroupBox(QStringLiteral("Case Options"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setGeometry(twipsRect(120, 4200, 7800, 720, this));
    Option2 = new QRadioButton(QStringLiteral("Ignore case"), Frame2);
    Option2->setObjectName(QStringLiteral("Option2"));
    Option2->setGeometry(twipsRect(240, 300, 1365, 285, this));
    Option2->setChecked(true);
    Option1 = new QRadioButton(QStringLiteral("Match case"), Frame2);
    Option1->setObjectName(QStringLiteral("Option1"));
    Option1->setGeometry(twipsRect(1800, 300, 1365, 300, this));

    ListView2 = new ListView(true, this);
    ListView2->setObjectName(QStringLiteral("ListView2"));
    ListView2->setGeometry(twipsRect(120, 5040, 7800, 1860, this));
    ListView2->setToolTip(QStringLiteral("Move | line to right and out of window to reveal full names."));

    button(PushButton3, "PushButton3", QStringLiteral("Open Selected File"), this, 120, 6990, 3840, 405);
    button(PushButton2, "PushButton2", QStringLiteral("Clear Results"), this, 4080, 6990, 3840, 405);
    button(PushButton4, "PushButton4", QStringLiteral("Save Results As Text File"), this, 120, 7500, 3840, 405);
    button(PushButton13, "PushButton13", QStringLiteral("Save Results As Excel File"), this, 4080, 7500, 3840, 405);
    button(PushButton8, "PushButton8", QStringLiteral("Copy Results To Clipboard"), this, 120, 8010, 3840, 405);
    button(PushButton16, "PushButton16", QStringLiteral("Help"), this, 4080, 8010, 3840, 405);

    ProgressBar1 = new ProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(twipsRect(120, 8530, 7800, 405, this));
    ProgressBar1->setText(QStringLiteral("Progress Bar"));

    for (QWidget* widget : {static_cast<QWidget*>(Frame1), static_cast<QWidget*>(Frame2)}) {
        widget->setMouseTracking(true);
        widget->installEventFilter(this);
    }
    for (ListView* list : {ListView1, ListView2}) {
        list->viewport()->setMouseTracking(true);
        list->viewport()->installEventFilter(this);
        list->installEventFilter(this);
    }
    ListView1->header()->installEventFilter(this);
    ListView2->header()->installEventFilter(this);
    ListView1->setFont(windowFont());
    ListView2->setFont(windowFont());
}

void Form1::setTabOrder() {
    // Design tab indexes 0 to 18; frames and the progress bar take no focus.
    const QList<QWidget*> order = {ListView1,   ListView2,    PushButton3,  PushButton4, PushButton13,
                                   PushButton2, PushButton16, ProgressBar1, PushButton8, PushButton1,
                                   PushButton6, Frame1,       Text1,        PushButton7, Frame2,
                                   Option2,     Option1,      PushButton5,  PushButton9};
    for (int i = 0; i < order.size(); ++i) order[i]->setProperty("tabIndex", i);
    QWidget* previous = nullptr;
    for (QWidget* widget : order) {
        if (widget->focusPolicy() == Qt::NoFocus) continue;
        if (previous) QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

void Form1::connectHandlers() {
    connect(PushButton1, &QPushButton::clicked, this, [this] { PushButton1_Click(); });
    connect(PushButton6, &QPushButton::clicked, this, [this] { PushButton6_Click(); });
    connect(PushButton5, &QPushButton::clicked, this, [this] { PushButton5_Click(); });
    connect(PushButton9, &QPushButton::clicked, this, [this] { PushButton9_Click(); });
    connect(PushButton7, &QPushButton::clicked, this, [this] { PushButton7_Click(); });
    connect(PushButton3, &QPushButton::clicked, this, [this] { PushButton3_Click(); });
    connect(PushButton2, &QPushButton::clicked, this, [this] { PushButton2_Click(); });
    connect(PushButton4, &QPushButton::clicked, this, [this] { PushButton4_Click(); });
    connect(PushButton13, &QPushButton::clicked, this, [this] { PushButton13_Click(); });
    connect(PushButton8, &QPushButton::clicked, this, [this] { PushButton8_Click(); });
    connect(PushButton16, &QPushButton::clicked, this, [this] { PushButton16_Click(); });
    connect(ListView1, &QAbstractItemView::pressed, this,
            [this](const QModelIndex& index) { ListView1_ItemClick(index.row() + 1); });
}

QString Form1::companionPath(const QString& name) const {
    return appFolder_ + QLatin1Char('/') + name;
}

void Form1::Form_Load() {
    ErrorTrap trap(platform_.messages, QStringLiteral("Form1"), QStringLiteral("Form_Load"));
    trap(100, [&] { ApplySkin(); });
    const QString handFile = companionPath(QStringLiteral("HAND-M.CUR"));
    bool haveHand = false;
    trap(104, [&] { haveHand = platform_.fileSystem.isExistingPath(handFile); });
    if (haveHand) trap(106, [&] { handCursor_ = loadCursorFile(handFile); });
    trap(108, [&] { OpenHomePageAtRandom(); });
    trap(126, [&] {
        setWindowTitle(productName());
        setWindowIcon(QIcon(QStringLiteral(":/halvorine/app-icon.png")));
        setAppTitle(shortAppTitle(productName()));
    });
    trap(128, [&] { ListView1->items().addColumn(QStringLiteral("Photoshop File(s)")); });
    trap(130, [&] { ListView1->setColumnWidthTwips(1, 7000); });
    trap(132, [&] { ListView2->items().addColumn(QStringLiteral("File")); });
    trap(134, [&] { ListView2->items().addColumn(QStringLiteral("Layer Name")); });
    trap(136, [&] { ListView2->setColumnWidthTwips(1, 5000); });
    trap(138, [&] { ListView2->setColumnWidthTwips(2, 2000); });
    trap(140, [&] { CheckPhotoshopInstalled(platform_.photoshop, platform_.messages); });
}

void Form1::ApplySkin() {
    // A plain lookup of an ordinary file: a folder or a dot-file is no skin.
    const QFileInfo skin(companionPath(QStringLiteral("x/o.cjs")));
    if (!skin.isFile() || skin.isHidden()) return;
    const QColor face = QApplication::palette().color(QPalette::Button);
    QList<QWidget*> themed = {this, Frame1, Frame2, Option1, Option2};
    for (QWidget* widget : themed) {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::Window, face);
        widget->setPalette(palette);
        widget->setAutoFillBackground(true);
    }
    // There is no skin engine on this platform: the colours are the whole skin.
    skinApplied_ = true;
}

void Form1::OpenHomePageAtRandom() {
    if (randomDraw_() == 7) platform_.desktop.openUrl(homePage());
}

void Form1::showCentred() {
    if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        QRect frame = frameGeometry();
        frame.moveCenter(area.center());
        move(frame.topLeft());
    }
    show();
}

void Form1::setPointer(Pointer pointer) {
    pointer_ = pointer;
    switch (pointer) {
    case Pointer::Hourglass: setCursor(Qt::WaitCursor); break;
    case Pointer::Custom:
        if (handCursor_)
            setCursor(*handCursor_);
        else
            setCursor(Qt::ArrowCursor);
        break;
    case Pointer::Default: unsetCursor(); break;
    }
}

QWidget* Form1::controlOf(QObject* watched) const {
    for (ListView* list : {ListView1, ListView2})
        if (watched == list->viewport() || watched == list->header()) return list;
    return qobject_cast<QWidget*>(watched);
}

QWidget* Form1::controlUnder(const QPointF& globalPos) const {
    QWidget* widget = childAt(mapFromGlobal(globalPos).toPoint());
    while (widget && widget != this && widget->objectName().isEmpty()) widget = widget->parentWidget();
    if (widget == ListView1->viewport() || widget == ListView2->viewport()) widget = widget->parentWidget();
    return widget ? widget : const_cast<Form1*>(this);
}

void Form1::hoverOver(QWidget* control) {
    if (busy()) return;
    const QList<QWidget*> buttons = {PushButton1, PushButton6, PushButton5,  PushButton9, PushButton7, PushButton3,
                                     PushButton2, PushButton4, PushButton13, PushButton8, PushButton16};
    if (buttons.contains(control))
        setPointer(Pointer::Custom);
    else if (control == this || control == Frame1 || control == Frame2 || control == ListView2 || control == ListView1)
        setPointer(Pointer::Default);
    // The text box, the option buttons and the progress bar leave it alone.
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        // A move the control did not take is passed on to its parent: only
        // the control under the pointer reacts.
        auto* move = static_cast<QMouseEvent*>(event);
        QWidget* control = controlOf(watched);
        if (control == controlUnder(move->globalPosition())) {
            if (watched == ListView1->viewport())
                ListView1_MouseMove(move->position().toPoint());
            else
                hoverOver(control);
        }
        return QWidget::eventFilter(watched, event);
    }
    const bool onList1 = watched == ListView1->viewport();
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (onList1) ListView1_MouseDown(static_cast<QMouseEvent*>(event)->position().toPoint());
        break;
    case QEvent::MouseButtonRelease:
        if (onList1) ListView1_MouseUp(static_cast<QMouseEvent*>(event)->position().toPoint());
        break;
    case QEvent::MouseButtonDblClick:
        if (onList1) ListView1_DblClick();
        break;
    case QEvent::KeyPress:
        if (watched == ListView1) ListView1_KeyDown(static_cast<QKeyEvent*>(event)->key());
        break;
    default: break;
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::closeEvent(QCloseEvent* event) {
    event->accept();
    Form_Unload();
}

void Form1::Form_Unload() {
    platform_.appExit.exitNow();
}

void Form1::PushButton16_Click() {
    ErrorTrap trap(platform_.messages, QStringLiteral("Form1"), QStringLiteral("PushButton16_Click"));
    trap(100, [&] {
        platform_.messages.show(notice(QStringLiteral("Questions? Please contact Team Trellwick at ") + contactPage()));
    });
}

} // namespace hv
