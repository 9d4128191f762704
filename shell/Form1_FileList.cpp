// The file-list commands and the events of ListView1: "Add PSD File(s)",
// "Add All PSD File(s) In Folder", "Clear List", "Load Sample/Example Files",
// removing rows, dragging rows and dropping files.
#include "Form1.h"

#include "widgets/CursorFile.h"
#include "filelist/AddFiles.h"
#include "filelist/FileDrop.h"
#include "filelist/FileListEditing.h"
#include "filelist/FolderScan.h"
#include "filelist/SampleFiles.h"
#include "core/AppTitle.h"
#include "core/ErrorTrap.h"
#include "platform/FileDialogs.h"
#include "platform/FileSystem.h"
#include "platform/InputBox.h"
#include "widgets/ListView.h"
#include "platform/SettingsStore.h"

#include <QDropEvent>
#include <QLineEdit>

namespace hv {

namespace {

const char* const kExtensionPrompt =
    "Enter file extension to load:\r\r(* for all files, txt for all txt files, doc for all doc files, etc.)";
const char* const kFolderPrompt = "Please select folder:";

// The list events carry no error trap; a failure in one of them ends that
// event and nothing else.
template <class Event>
void withoutErrorTrap(Event&& event) {
    try {
        event();
    } catch (const std::exception&) {
    }
}

FolderScan folderScan(Form1& form) {
    Platform& platform = form.platform();
    return FolderScan(platform.fileSystem, platform.events, platform.messages, form.ListView1->items());
}

// The drop effect this program reports: it only reads the dropped paths, so
// it never reports a move, after which the drag source would delete the
// originals.
Qt::DropAction readOnlyAction(Qt::DropActions possible) {
    if (possible & Qt::CopyAction) return Qt::CopyAction;
    if (possible & Qt::LinkAction) return Qt::LinkAction;
    return Qt::IgnoreAction;
}

// Passes drags over the file list's viewport to OLEDragOver and
// OLEDragDrop; the list itself never sees them.
class FileListDropTarget : public QObject {
public:
    FileListDropTarget(Form1& form, QObject* parent) : QObject(parent), form_(form) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            const Qt::DropAction action = readOnlyAction(drag->possibleActions());
            if (form_.ListView1_OLEDragOver(drag->mimeData()) && action != Qt::IgnoreAction) {
                drag->setDropAction(action);
                drag->accept();
            } else {
                drag->setDropAction(Qt::IgnoreAction);
                drag->ignore();
            }
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const Qt::DropAction action = readOnlyAction(drop->possibleActions());
            if (action == Qt::IgnoreAction || !form_.ListView1_OLEDragOver(drop->mimeData())) {
                drop->ignore();
                return true;
            }
            drop->setDropAction(action);
            drop->accept();
            form_.ListView1_OLEDragDrop(drop->mimeData());
            return true;
        }
        default: return QObject::eventFilter(watched, event);
        }
    }

private:
    Form1& form_;
};

} // namespace

void Form1::installFileListDropTarget() {
    QWidget* viewport = ListView1->viewport();
    // The list's own drag-and-drop mode is off; the viewport still takes
    // drops, which the filter hands to the two handlers.
    viewport->setAcceptDrops(true);
    viewport->installEventFilter(new FileListDropTarget(*this, viewport));
}

void Form1::PushButton1_Click() {
    ErrorTrap trap(platform_.messages, QStringLiteral("Form1"), QStringLiteral("PushButton1_Click"));
    const PathStyle style = platform_.fileSystem.pathStyle();
    QStringList answers;
    trap(100, [&] {
        answers = dialogAnswers(
            platform_.fileDialogs.openFiles(QString::fromLatin1(kAddFilesTitle), QString::fromLatin1(kAddFilesFilter)),
            style);
    });
    if (answers.isEmpty()) return;
    for (const QString& answer : answers) trap(104, [&] { appendDialogAnswer(answer, ListView1->items(), style); });
}

void Form1::PushButton6_Click() {
    ErrorTrap trap(platform_.messages, QStringLiteral("Form1"), QStringLiteral("PushButton6_Click"));
    SettingsStore& settings = platform_.settings;
    QString extension;
    trap(100, [&] {
        extension = platform_.input.ask(QString::fromLatin1(kExtensionPrompt), appTitle(),
                                        settings.readSetting(QStringLiteral("Extension"), QStringLiteral("psd")));
    });
    if (extension.isEmpty()) return;
    trap(104, [&] { settings.writeSetting(QStringLiteral("Extension"), extension); });
    QString folder;
    trap(106, [&] {
        folder = platform_.folderBrowser.browse(QString::fromLatin1(kFolderPrompt),
                                                settings.readSetting(QStringLiteral("LastFolder"), QString()));
    });
    if (folder.isEmpty()) return;
    trap(110, [&] { settings.writeSetting(QStringLiteral("LastFolder"), folder); });
    trap(112, [&] { setPointer(Pointer::Hourglass); });
    trap(114, [&] {
        folderScan(*this).addFolderFiles(folder, QStringLiteral("*.") + extension,
                                         [&](const QString& description) { trap.report(114, description); });
    });
    trap(116, [&] { setPointer(Pointer::Default); });
}

void Form1::PushButton5_Click() {
    ErrorTrap trap(platform_.messages, QStringLiteral("Form1"), QStringLiteral("PushButton5_Click"));
    trap(100, [&] { FileListEditor(*ListView1, *this, DragRow).clear(); });
}

void Form1::PushButton9_Click() {
    ErrorTrap trap(platform_.messages, QStringLiteral("Form1"), QStringLiteral("PushButton9_Click"));
    trap(100, [&] {
        FolderScan scan = folderScan(*this);
        SampleFiles(platform_.fileSystem, scan, platform_.messages, platform_.desktop, ListView1->items(), appFolder_)
            .load();
    });
    trap(102, [&] { Text1->setText(QStringLiteral("Layer")); });
}

void Form1::ListView1_KeyDown(int keyCode) {
    if (keyCode != Qt::Key_Delete) return;
    withoutErrorTrap([&] { FileListEditor(*ListView1, *this, DragRow).removeSelected(); });
}

void Form1::ListView1_DblClick() {
    withoutErrorTrap([&] { FileListEditor(*ListView1, *this, DragRow).removeSelected(); });
}

void Form1::ListView1_MouseDown(const QPoint&) {
    RowDrag(*ListView1, *this, DraggingRows, DragRow).press();
}

void Form1::ListView1_ItemClick(int) {
    std::optional<QCursor> dragPointer;
    try {
        dragPointer = loadCursorFile(companionPath(QStringLiteral("drag.ico")));
    } catch (const Failure&) {
        // Without the picture the list keeps the pointer it shows.
    }
    withoutErrorTrap([&] { RowDrag(*ListView1, *this, DraggingRows, DragRow).itemClick(dragPointer); });
}

void Form1::ListView1_MouseMove(const QPoint& pos) {
    withoutErrorTrap([&] { RowDrag(*ListView1, *this, DraggingRows, DragRow).move(pos); });
}

void Form1::ListView1_MouseUp(const QPoint&) {
    RowDrag(*ListView1, *this, DraggingRows, DragRow).release();
}

bool Form1::ListView1_OLEDragOver(const QMimeData* dragged) {
    return localFileList(dragged).has_value();
}

void Form1::ListView1_OLEDragDrop(const QMimeData* dropped) {
    const std::optional<QStringList> paths = localFileList(dropped);
    if (!paths) return;
    withoutErrorTrap([&] {
        FolderScan scan = folderScan(*this);
        FileDrop(platform_.fileSystem, scan, ListView1->items()).drop(*paths);
    });
}

} // namespace hv
