#include "AddFiles.h"

#include "PathRules.h"
#include "core/ErrorTrap.h"
#include "core/ListViewModel.h"
#include "platform/FileDialogs.h"

namespace hv {

namespace {

// Statement numbers of "Add PSD File(s)".
namespace line {
constexpr int kAskForFiles = 100;
constexpr int kAppendAnswer = 104;
} // namespace line

} // namespace

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

AddFiles::AddFiles(FileDialogs& dialogs, PathStyle style, ListViewModel& fileList)
    : dialogs_(dialogs),
      style_(style),
      fileList_(fileList) {}

void AddFiles::run(ErrorTrap& trap) {
    QStringList answers;
    trap(line::kAskForFiles, [&] {
        answers = dialogAnswers(
            dialogs_.openFiles(QString::fromLatin1(kAddFilesTitle), QString::fromLatin1(kAddFilesFilter)), style_);
    });
    for (const QString& answer : answers)
        trap(line::kAppendAnswer, [&] { appendDialogAnswer(answer, fileList_, style_); });
}

} // namespace hv
