#pragma once

#include <QObject>

#include <functional>

class QMimeData;
class QWidget;

namespace hv {

// Takes drops of local files on a widget (the file list's viewport) and
// hands the dropped data to `drop`. Only a list of local files is taken, and
// only as a copy or a link: this program reads the dropped paths and never
// reports a move, after which the drag source would delete the originals.
class FileDropTarget : public QObject {
public:
    FileDropTarget(QWidget& target, std::function<void(const QMimeData*)> drop);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(const QMimeData*)> drop_;
};

} // namespace hv
