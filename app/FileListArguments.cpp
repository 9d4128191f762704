#include "FileListArguments.h"

#include "platform/PathBytes.h"
#include "shell/Form1.h"
#include "widgets/ListView.h"

#include <QMimeData>
#include <QUrl>

#include <cstdio>

#include <sys/stat.h>

namespace hv {

void dropOnFileList(Form1& form, const QStringList& paths) {
    QList<QUrl> urls;
    urls.reserve(paths.size());
    for (const QString& path : paths) {
        const QByteArray bytes = pathBytes(path);
        struct stat status {};
        if (::stat(bytes.constData(), &status) == 0) {
            urls.append(fileUrlOf(path));
        } else {
            std::fprintf(stderr, "halvorine: %s: no such file or folder\n", bytes.constData());
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
