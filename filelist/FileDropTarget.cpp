#include "FileDropTarget.h"

#include "FileDrop.h"

#include <QDropEvent>
#include <QWidget>

namespace hv {

namespace {

Qt::DropAction readOnlyAction(Qt::DropActions possible) {
    if (possible & Qt::CopyAction) return Qt::CopyAction;
    if (possible & Qt::LinkAction) return Qt::LinkAction;
    return Qt::IgnoreAction;
}

bool takes(const QDropEvent& event) {
    return readOnlyAction(event.possibleActions()) != Qt::IgnoreAction && localFileList(event.mimeData());
}

} // namespace

FileDropTarget::FileDropTarget(QWidget& target, std::function<void(const QMimeData*)> drop)
    : QObject(&target),
      drop_(std::move(drop)) {
    target.setAcceptDrops(true);
    target.installEventFilter(this);
}

bool FileDropTarget::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        const bool taken = takes(*drag);
        drag->setDropAction(taken ? readOnlyAction(drag->possibleActions()) : Qt::IgnoreAction);
        drag->setAccepted(taken);
        return true;
    }
    case QEvent::Drop: {
        auto* dropped = static_cast<QDropEvent*>(event);
        if (!takes(*dropped)) {
            dropped->ignore();
            return true;
        }
        dropped->setDropAction(readOnlyAction(dropped->possibleActions()));
        dropped->accept();
        drop_(dropped->mimeData());
        return true;
    }
    default: return QObject::eventFilter(watched, event);
    }
}

} // namespace hv
