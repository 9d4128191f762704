#include "FileListArguments.h"

#include "shell/Form1.h"
#include "widgets/ListView.h"

#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include <cstdio>

namespace hv {

void dropOnFileList(Form1& form, const QStringList& paths) {
    QList<QUrl> urls;
    urls.reserve(paths.size());
    for (const QString& path : paths) {
        if (QFileInfo::exists(path)) {
            urls.append(QUrl::fromLocalFile(path));
        } else {
            std::fprintf(stderr, "halvorine: %s: no such file or folder\n", QFile::encodeName(path).constData());
        }
    }
    if (urls.isEmpty()) return;
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
