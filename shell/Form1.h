#pragma once

#include "platform/Platform.h"
#include "platform/WindowPointer.h"

#include <QCursor>
#include <QFont>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QGroupBox;
class QHelpEvent;
class QKeyEvent;
class QLineEdit;
class QMimeData;
class QPushButton;
class QRadioButton;

namespace hv {

class ErrorTrap;
class FolderScan;
class ListView;
class ProgressBar;
class RowDrag;
class RowToolTips;

// The main window: the file list, the search box and case options, the
// results list, the progress bar and the eleven command buttons. Every
// control carries its design name as object name.
//
// Each handler hands its command to the class that does the work (the
// README's table names them) and gives it the handler's error trap. The
// handlers are grouped by what they act on: start-up, hover pointer, the
// lists' tool tips, Help and unload in Form1.cpp; the file-list commands and
// list events in Form1_FileList.cpp; the search and "Open Selected File" in
// Form1_Search.cpp; the result exports in Form1_Output.cpp.
class Form1 : public QWidget, public WindowPointer {
    Q_OBJECT
public:
    Form1(Platform& platform, QString appFolder, QWidget* parent = nullptr);
    ~Form1() override;

    // Start-up sequence; runs once before the window is first shown.
    void Form_Load();
    // Shows the window centred on its screen.
    void showCentred();

    // The draw of OpenHomePageAtRandom (a whole number from 1 to 100).
    void setRandomDraw(std::function<int()> draw) { randomDraw_ = std::move(draw); }

    // WindowPointer: 0 default, 11 hourglass (the busy flag), 99 custom.
    Pointer pointer() const override { return pointer_; }
    void setPointer(Pointer pointer) override;
    bool hasCustomPointerImage() const { return handCursor_.has_value(); }
    bool skinApplied() const { return skinApplied_; }

    // The title of the message boxes that have none of their own: the
    // product name, until start-up sets it.
    const QString& appTitle() const { return appTitle_; }
    // True while "Start Searching" runs.
    bool searching() const { return searching_; }

    // Controls, each with its caption.
    ListView* ListView1 = nullptr;       // the file list: "Photoshop File(s)"
    QPushButton* PushButton1 = nullptr;  // "Add PSD File(s)"
    QPushButton* PushButton6 = nullptr;  // "Add All PSD File(s) In Folder"
    QPushButton* PushButton5 = nullptr;  // "Clear List"
    QPushButton* PushButton9 = nullptr;  // "Load Sample/Example Files"
    QGroupBox* Frame1 = nullptr;         // "Search For Layers With These Characters"
    QLineEdit* Text1 = nullptr;          // the search text
    QPushButton* PushButton7 = nullptr;  // "Start Searching"
    QGroupBox* Frame2 = nullptr;         // "Case Options"
    QRadioButton* Option2 = nullptr;     // "Ignore case"
    QRadioButton* Option1 = nullptr;     // "Match case"
    ListView* ListView2 = nullptr;       // the results: "File", "Layer Name"
    QPushButton* PushButton3 = nullptr;  // "Open Selected File"
    QPushButton* PushButton2 = nullptr;  // "Clear Results"
    QPushButton* PushButton4 = nullptr;  // "Save Results As Text File"
    QPushButton* PushButton13 = nullptr; // "Save Results As Excel File"
    QPushButton* PushButton8 = nullptr;  // "Copy Results To Clipboard"
    QPushButton* PushButton16 = nullptr; // "Help"
    ProgressBar* ProgressBar1 = nullptr; // "Progress Bar" while idle

    // The design's fonts, never smaller than the desktop's.
    static QFont windowFont();
    static QFont buttonFont();

    // Start-up and shell (Form1.cpp).
    void Form_Unload();
    void PushButton16_Click();
    // The tool tips over the lists' rows; false over empty space, where the
    // list's own hint shows.
    bool ListView1_ToolTip(const QHelpEvent& event);
    bool ListView2_ToolTip(const QHelpEvent& event);

    // File list (Form1_FileList.cpp). Row dragging belongs to the RowDrag
    // the window makes for ListView1.
    void PushButton1_Click();
    void PushButton6_Click();
    void PushButton5_Click();
    void PushButton9_Click();
    void ListView1_KeyDown(int keyCode);
    void ListView1_DblClick();
    void ListView1_OLEDragDrop(const QMimeData* data);

    // Search (Form1_Search.cpp).
    void PushButton7_Click();
    void PushButton3_Click();

    // Result output (Form1_Output.cpp).
    void PushButton4_Click();
    void PushButton13_Click();
    void PushButton8_Click();
    void PushButton2_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void styleWindow();
    void buildFileControls();
    void buildSearchControls();
    void buildResultControls();
    void trackControls();
    void setTabOrder();
    void applyColours();
    void paintSurfaces(const QColor& surface);
    void fitOptionCaptions();
    void connectKeyboard();
    void describeForAssistiveTools();
    bool fileListKey(const QKeyEvent& event);
    void announceMatches();
    void connectHandlers();
    void connectListEvents();
    void hoverOver(QWidget* control);
    QWidget* controlOf(QObject* watched) const;
    QWidget* controlUnder(const QPointF& globalPos) const;
    void ApplySkin();
    void OpenHomePageAtRandom();
    void addColumnHeaders(ErrorTrap& trap);
    QString companionPath(const QString& name) const;
    // The trap of one of this window's handlers.
    ErrorTrap trapOf(const char* procedure);
    FolderScan folderScan();

    Platform& platform_;
    QString appFolder_;
    QString appTitle_;
    std::function<int()> randomDraw_;
    Pointer pointer_ = Pointer::Default;
    std::optional<QCursor> handCursor_;
    bool skinApplied_ = false;
    bool searching_ = false;
    RowDrag* rowDrag_ = nullptr;
    std::unique_ptr<RowToolTips> rowTips_;
};

} // namespace hv
