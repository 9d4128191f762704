#include "AddFiles.h"

#include "PathRules.h"
#include "widgets/ListView.h"

namespace hv {

QStringList dialogAnswers(const QStringList& chosen, PathStyle style) {
    QStringList answers;
    qsizetype first = 0;
    while (first < chosen.size()) {
        const QString folder = splitFolderAndName(chosen[first], style).folder;
        qsizetype end = first + 1;
        while (end < chosen.size() && splitFolderAndName(chosen[end], style).folder == folder) ++end;
        if (end - first == 1) {
            answers.append(chosen[first]);
        } else {
            QString answer = folder;
            for (qsizetype i = first; i < end; ++i) answer += QChar(u'\0') + splitFolderAndName(chosen[i], style).name;
            answers.append(answer);
        }
        first = end;
    }
    return answers;
}

void appendDialogAnswer(const QString& answer, ListViewModel& fileList, PathStyle style) {
    const QStringList parts = answer.split(QChar(u'\0'));
    if (parts.size() == 1) {
        fileList.addItem(answer);
        return;
    }
    const QChar separator = separatorOf(style);
    for (qsizetype i = 1; i < parts.size(); ++i)
        fileList.addItem(normalizePath(parts[0] + separator + parts[i], style));
}

} // namespace hv
