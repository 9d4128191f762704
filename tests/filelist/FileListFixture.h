#pragma once

#include "shell/Form1.h"
#include "support/FormFixture.h"
#include "support/QtPrinters.h"
#include "widgets/ListView.h"

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
        PlatformWiring wiring = fakes.with();
        if (fileSystem) wiring.fileSystem(*fileSystem);
        if (settings) wiring.settings(*settings);
        platform = std::make_unique<Platform>(wiring);
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
