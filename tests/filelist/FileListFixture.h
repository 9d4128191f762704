#pragma once

#include "platform/ListView.h"
#include "shell/Form1.h"
#include "QtPrinters.h"
#include "support/Fakes.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QPushButton>
#include <QStringList>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace hv::test {

// The real main window over recording fakes, shown on the offscreen
// platform, with a temporary program folder. A test may give its own file
// system or settings store.
class FileListFixture : public ::testing::Test {
protected:
    void load(FileSystem* fileSystem = nullptr, SettingsStore* settings = nullptr) {
        platform = std::make_unique<Platform>(Platform{
            fakes.messages, fakes.input, fakes.dialogs, fakes.dialogs, fakes.clipboard,
            settings ? *settings : fakes.settings, fakes.desktop, fileSystem ? *fileSystem : fakes.fileSystem,
            fakes.photoshop, fakes.spreadsheet, fakes.events, fakes.appExit});
        form = std::make_unique<Form1>(*platform, appFolder.path());
        form->setRandomDraw([] { return 1; });
        form->Form_Load();
        form->show();
        fakes.messages.shown.clear();
    }
    void TearDown() override {
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "a modal dialog was left open";
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

    TestPlatform fakes;
    TempDir appFolder;
    std::unique_ptr<Platform> platform;
    std::unique_ptr<Form1> form;
};

} // namespace hv::test
