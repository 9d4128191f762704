#pragma once

#include <QPoint>
#include <QRect>
#include <QString>

class QHelpEvent;

namespace hv {

class DocumentThumbnails;
class ListView;

// The tool tips over the rows of the two lists. Over a results row: the
// picture of the row's document once it has arrived, the full path, the
// layer's group path, kind and visibility and the document's size, above
// the list's own hint. Over a file-list row: the full path above the hint.
// Over empty space the list's hint shows alone, as the list gives it.
//
// The text needs no reading: the results row keeps its facts. The picture
// is asked for when a row of its document is hovered, and a tip still up
// when it arrives is shown again with it. Every text from a document or a
// path is escaped: the tips are rich text.
class RowToolTips {
public:
    RowToolTips(ListView& files, ListView& results, DocumentThumbnails& thumbnails);
    ~RowToolTips();
    RowToolTips(const RowToolTips&) = delete;
    RowToolTips& operator=(const RowToolTips&) = delete;

    // Shows the tip of the row under a tool-tip event on the viewport of
    // `list`; false over empty space, where the list's hint is left to show.
    bool show(ListView& list, const QHelpEvent& event);

    // The tips' texts, for rows that exist (counted from 1).
    QString fileRowText(int row) const;
    QString resultRowText(int row) const;

private:
    void arrived(const QString& path);

    ListView& files_;
    ListView& results_;
    DocumentThumbnails& thumbnails_;
    // The results row whose tip was shown last, and where.
    struct Shown {
        int row = 0;
        QString path;
        QString text;
        QPoint globalPos;
        QRect rect;
    } shown_;
};

} // namespace hv
