#pragma once

#include "platform/Platform.h"
#include "platform/WindowPointer.h"

#include <QCursor>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>

class QGroupBox;
class QLineEdit;
class QMimeData;
class QPushButton;
class QRadioButton;

namespace hv {

class ListView;
class ProgressBar;

// The main window: the file list, the search box and case options, the
// results list, the progress bar and the eleven command buttons. Every
// control carries its design name as object name.
//
// The handlers are grouped by what they act on: start-up, hover pointer,
// Help and unload in Form1.cpp; the file-list commands and list events in
// Form1_FileList.cpp; the search and "Open Selected File" in
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

    const QString& appFolder() const { return appFolder_; }
    Platform& platform() { return platform_; }

    // Controls.
    ListView* ListView1 = nullptr;
    QPushButton* PushButton1 = nullptr;
    QPushButton* PushButton6 = nullptr;
    QPushButton* PushButton5 = nullptr;
    QPushButton* PushButton9 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QPushButton* PushButton7 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QRadioButton* Option2 = nullptr;
    QRadioButton* Option1 = nullptr;
    ListView* ListView2 = nullptr;
    QPushButton* PushButton3 = nullptr;
    QPushButton* PushButton2 = nullptr;
    QPushButton* PushButton4 = nullptr;
    QPushButton* PushButton13 = nullptr;
    QPushButton* PushButton8 = nullptr;
    QPushButton* PushButton16 = nullptr;
    ProgressBar* ProgressBar1 = nullptr;

    // Start-up and shell (Form1.cpp).
    void Form_Unload();
    void PushButton16_Click();

    // File list (Form1_FileList.cpp).
    void PushButton1_Click();
    void PushButton6_Click();
    void PushButton5_Click();
    void PushButton9_Click();
    void ListView1_KeyDown(int keyCode);
    void ListView1_DblClick();
    void ListView1_MouseDown(const QPoint& pos);
    void ListView1_ItemClick(int row);
    void ListView1_MouseMove(const QPoint& pos);
    void ListView1_MouseUp(const QPoint& pos);
    // Returns whether the dragged data may be dropped (a local file list).
    bool ListView1_OLEDragOver(const QMimeData* data);
    void ListView1_OLEDragDrop(const QMimeData* data);
    // Routes drags over ListView1 to the two handlers above.
    void installFileListDropTarget();

    // Search (Form1_Search.cpp).
    void PushButton7_Click();
    void PushButton3_Click();

    // Result output (Form1_Output.cpp).
    void PushButton4_Click();
    void PushButton13_Click();
    void PushButton8_Click();
    void PushButton2_Click();
    // True when a spreadsheet application can be reached; otherwise tells the user.
    bool SaveResultsAsExcelFileIsExcelInstalled();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void setTabOrder();
    void connectHandlers();
    void hoverOver(QWidget* control);
    QWidget* controlOf(QObject* watched) const;
    QWidget* controlUnder(const QPointF& globalPos) const;
    void ApplySkin();
    void OpenHomePageAtRandom();
    QString companionPath(const QString& name) const;

    Platform& platform_;
    QString appFolder_;
    std::function<int()> randomDraw_;
    Pointer pointer_ = Pointer::Default;
    std::optional<QCursor> handCursor_;
    bool skinApplied_ = false;

public:
    // Row dragging in the file list: set from a press on the list until the
    // release; the position of the row carrying the dragged path (0: none).
    bool DraggingRows = false;
    int DragRow = 0;
    // True while "Start Searching" runs.
    bool searching = false;
};

} // namespace hv
