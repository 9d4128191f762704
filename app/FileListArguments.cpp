#include "FileListArguments.h"

#include "platform/PathBytes.h"
#include "shell/Form1.h"
#include "widgets/ListView.h"

#include <QMimeData>
#include <QUrl>

namespace hv {

void dropOnFileList(Form1& form, const QStringList& paths) {
    if (paths.isEmpty()) return;
    QList<QUrl> urls;
    urls.reserve(paths.size());
    for (const QString& path : paths) urls.append(fileUrlOf(path));
    QMimeData data;
    data.setUrls(urls);
    form.ListView1_OLEDragDrop(&data);
}

QStringList fileListRows(Form1& form) {
    const ListViewModel& rows = form.ListView1->items();
    QStringList texts;
    for (int row = 1; row <= rows.itemCount(); ++row) texts.append(rows.itemText(row));
    return texts;
}

} // namespace hv
