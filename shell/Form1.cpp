#include "Form1.h"

#include "HelpMessage.h"
#include "RowToolTips.h"
#include "core/AppTitleRule.h"
#include "core/BuildInfo.h"
#include "core/ErrorTrap.h"
#include "filelist/RowDrag.h"
#include "platform/AppExit.h"
#include "platform/DesktopShell.h"
#include "platform/FileSystem.h"
#include "search/IsInstalled.h"
#include "widgets/CursorFile.h"
#include "widgets/ListView.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QScreen>
#include <QTime>

namespace hv {

namespace {

// Statement numbers of Form_Load.
namespace line {
constexpr int kApplySkin = 100;
constexpr int kFindHandCursor = 104;
constexpr int kLoadHandCursor = 106;
constexpr int kHomePage = 108;
constexpr int kTitles = 126;
constexpr int kFileListHeader = 128;
constexpr int kFileListWidth = 130;
constexpr int kFileHeader = 132;
constexpr int kLayerNameHeader = 134;
constexpr int kFileWidth = 136;
constexpr int kLayerNameWidth = 138;
constexpr int kCheckDocumentLink = 140;
} // namespace line

} // namespace

Form1::Form1(Platform& platform, QString appFolder, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint
                          | Qt::MSWindowsFixedSizeDialogHint),
      platform_(platform),
      appFolder_(std::move(appFolder)),
      appTitle_(productName()) {
    styleWindow();
    buildFileControls();
    buildSearchControls();
    buildResultControls();
    applyColours();
    fitOptionCaptions();
    trackControls();
    installEventFilter(this);
    setTabOrder();
    connectHandlers();
    connectListEvents();
    connectKeyboard();
    describeForAssistiveTools();
    rowTips_ = std::make_unique<RowToolTips>(*ListView1, *ListView2, platform_.thumbnails);
    randomDraw_ = [] {
        QRandomGenerator generator(static_cast<quint32>(QTime::currentTime().msecsSinceStartOfDay()));
        return static_cast<int>(generator.generateDouble() * 100) + 1;
    };
}

Form1::~Form1() = default;

QString Form1::companionPath(const QString& name) const {
    return appFolder_ + QLatin1Char('/') + name;
}

ErrorTrap Form1::trapOf(const char* procedure) {
    return ErrorTrap(platform_.messages, QStringLiteral("Form1"), QString::fromLatin1(procedure));
}

void Form1::Form_Load() {
    ErrorTrap trap = trapOf("Form_Load");
    trap(line::kApplySkin, [&] { ApplySkin(); });
    const QString handFile = companionPath(QStringLiteral("HAND-M.CUR"));
    bool haveHand = false;
    trap(line::kFindHandCursor, [&] { haveHand = platform_.fileSystem.isExistingPath(handFile); });
    if (haveHand) trap(line::kLoadHandCursor, [&] { handCursor_ = loadCursorFile(handFile); });
    trap(line::kHomePage, [&] { OpenHomePageAtRandom(); });
    trap(line::kTitles, [&] {
        setWindowTitle(productName());
        setWindowIcon(QIcon(QStringLiteral(":/halvorine/app-icon.png")));
        appTitle_ = shortAppTitle(productName());
    });
    addColumnHeaders(trap);
    trap(line::kCheckDocumentLink,
         [&] { CheckPhotoshopInstalled(platform_.photoshop, platform_.messages, appTitle_); });
}

void Form1::addColumnHeaders(ErrorTrap& trap) {
    trap(line::kFileListHeader, [&] { ListView1->items().addColumn(QStringLiteral("Photoshop File(s)")); });
    trap(line::kFileListWidth, [&] { ListView1->setColumnWidthTwips(1, 7000); });
    trap(line::kFileHeader, [&] { ListView2->items().addColumn(QStringLiteral("File")); });
    trap(line::kLayerNameHeader, [&] { ListView2->items().addColumn(QStringLiteral("Layer Name")); });
    trap(line::kFileWidth, [&] { ListView2->setColumnWidthTwips(1, 5000); });
    trap(line::kLayerNameWidth, [&] { ListView2->setColumnWidthTwips(2, 2000); });
}

void Form1::ApplySkin() {
    // A plain lookup of an ordinary file: a folder or a dot-file is no skin.
    const QFileInfo skin(companionPath(QStringLiteral("x/o.cjs")));
    if (!skin.isFile() || skin.isHidden()) return;
    paintSurfaces(QApplication::palette().color(QPalette::Button));
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
    // A new colour scheme of the desktop: the forced colours are set afresh.
    if (event->type() == QEvent::ApplicationPaletteChange && watched == this) applyColours();
    if (event->type() == QEvent::MouseMove) {
        // A move the control did not take is passed on to its parent: only
        // the control under the pointer reacts.
        auto* move = static_cast<QMouseEvent*>(event);
        QWidget* control = controlOf(watched);
        if (control == controlUnder(move->globalPosition())) {
            hoverOver(control);
            if (watched == ListView1->viewport()) rowDrag_->mouseMove(move->position().toPoint());
        }
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (watched == ListView1->viewport() && ListView1_ToolTip(*help)) return true;
        if (watched == ListView2->viewport() && ListView2_ToolTip(*help)) return true;
    }
    if (event->type() == QEvent::MouseButtonDblClick && watched == ListView1->viewport()) ListView1_DblClick();
    if (event->type() == QEvent::KeyPress && watched == ListView1) {
        if (fileListKey(*static_cast<QKeyEvent*>(event))) return true;
        ListView1_KeyDown(static_cast<QKeyEvent*>(event)->key());
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

bool Form1::ListView1_ToolTip(const QHelpEvent& event) {
    return rowTips_->show(*ListView1, event);
}

bool Form1::ListView2_ToolTip(const QHelpEvent& event) {
    return rowTips_->show(*ListView2, event);
}

void Form1::PushButton16_Click() {
    ErrorTrap trap = trapOf("PushButton16_Click");
    HelpMessage(platform_.messages, appTitle_).run(trap);
}

} // namespace hv
