#pragma once

#include "platform/FileSystem.h"

#include <QString>
#include <QStringList>

namespace hv {

class ErrorTrap;
class FileDialogs;
class ListViewModel;

// The open dialog of "Add PSD File(s)".
inline constexpr const char* kAddFilesTitle = "Add File(s) - Hold Ctrl to select multiple files";
inline constexpr const char* kAddFilesFilter = "Photoshop Files (*.psd)|*.psd|";

// The dialog's chosen files in the form an open dialog's file name takes:
// one full path when one file was chosen, otherwise the folder followed by
// the names, each separated from the next by one NUL character. Files from
// different folders, which a dialog rarely gives, make one answer per run
// of files in the same folder. No files give no answer.
QStringList dialogAnswers(const QStringList& chosen, PathStyle style);

// Appends the rows of one answer: a lone path unchanged; otherwise folder,
// separator and name passed through normalizePath, in the answer's order.
void appendDialogAnswer(const QString& answer, ListViewModel& fileList, PathStyle style);

// "Add PSD File(s)": the files chosen in the open dialog are appended to the
// file list. Each step runs as a statement of the caller's error trap.
class AddFiles {
public:
    AddFiles(FileDialogs& dialogs, PathStyle style, ListViewModel& fileList);

    void run(ErrorTrap& trap);

private:
    FileDialogs& dialogs_;
    PathStyle style_;
    ListViewModel& fileList_;
};

} // namespace hv
