#pragma once

#include "support/QtPrinters.h"
#include "widgets/ListView.h"
#include "shell/Form1.h"
#include "support/FormFixture.h"

#include <QApplication>
#include <QPushButton>
#include <QStringList>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace hv::test {

// The main window, shown; a test may give its own file system or settings
// store.
class FileListFixture : public FormFixture {
protected:
    void load(FileSystem* fileSystem = nullptr, SettingsStore* settings = nullptr) {
        platform = std::make_unique<Platform>(
            Platform{fakes.messages, fakes.input, fakes.dialogs, fakes.dialogs, fakes.clipboard,
                     settings ? *settings : fakes.settings, fakes.desktop, fileSystem ? *fileSystem : fakes.fileSystem,
                     fakes.photoshop, fakes.spreadsheet, fakes.events, fakes.appExit});
        openForm(*platform);
        fakes.messages.shown.clear();
    }

    ListViewModel& fileList() { return form->ListView1->items(); }
    QStringList rows() {
        QStringList result;
        for (int row = 1; row <= fileList().itemCount(); ++row) result.append(fileList().itemText(row));
        return result;
    }
    void addRows(const QStringList& paths) {
        for (const QString& path : paths) fileList().addItem(path);
        fileList().flush();
    }
    void click(QWidget* button) { QTest::mouseClick(button, Qt::LeftButton); }

    std::unique_ptr<Platform> platform;
};

} // namespace hv::test
