#pragma once

#include "filelist/FolderScan.h"
#include "support/Fakes.h"
#include "support/QtPrinters.h"
#include "widgets/ListView.h"

#include <QStringList>

namespace hv::test {

// A folder scan appending to a file-list model of its own, over a chosen
// file system, with recording message box and event pump.
struct ScanHarness {
    explicit ScanHarness(FileSystem& fileSystem) : scan(fileSystem, events, messages, fileList) {
        fileList.addColumn(QStringLiteral("Photoshop File(s)"));
    }

    QStringList rows() const {
        QStringList result;
        for (int row = 1; row <= fileList.itemCount(); ++row) result.append(fileList.itemText(row));
        return result;
    }
    // Scans and returns the rows appended; failures of AddFolderFiles' own
    // statements land in `reported`.
    QStringList add(const QString& top, const QString& pattern) {
        scan.addFolderFiles(top, pattern, [this](const QString& description) { reported.append(description); });
        return rows();
    }

    FakeMessageBox messages;
    FakeEventPump events;
    ListViewModel fileList{false};
    FolderScan scan;
    QStringList reported;
};

} // namespace hv::test
