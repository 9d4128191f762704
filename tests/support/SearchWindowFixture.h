#pragma once

#include "support/FormFixture.h"
#include "support/SearchReports.h"

#include "platform/qt/NativePhotoshopLink.h"
#include "psd/testing/PsdWriter.h"
#include "search/LayerNameMatch.h"
#include "shell/Form1.h"
#include "widgets/ListView.h"
#include "widgets/ProgressBar.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace hv::test {

// The real main window reading real documents through the document reader,
// with recording fakes for everything else.
class SearchWindowFixture : public FormFixture {
protected:
    void SetUp() override {
        openForm(platform).showCentred();
        fakes.messages.shown.clear();
    }

    // Writes a document whose layers, top first, have the given names.
    QString document(const QString& name, const QStringList& layers,
                     psd::testing::Format format = psd::testing::Format::Psd) {
        psd::testing::PsdWriter writer(format);
        for (const QString& layer : layers) writer.layer(layer.toStdU16String());
        const QString path = docs.path(name);
        writer.writeFile(QFile::encodeName(path).toStdString());
        return path;
    }

    void list(const QStringList& paths) {
        for (const QString& path : paths) form->ListView1->items().addItem(path);
    }

    void search(const QString& text, CaseOption option = CaseOption::IgnoreCase) {
        form->Text1->clear();
        QTest::keyClicks(form->Text1, text);
        QTest::mouseClick(option == CaseOption::MatchCase ? form->Option1 : form->Option2, Qt::LeftButton);
        clickStartSearching();
    }
    void clickStartSearching() { QTest::mouseClick(form->PushButton7, Qt::LeftButton); }

    QStringList rows() const { return resultRows(form->ListView2->items()); }
    std::vector<int> reportedLines() const { return test::reportedLines(fakes.messages.shown); }

    // Idle: default pointer (unless the mouse left the hand over a button),
    // progress 0 with its caption, no run in progress.
    void expectAtRest(Pointer pointer = Pointer::Default) const {
        EXPECT_EQ(form->pointer(), pointer);
        EXPECT_NE(form->cursor().shape(), Qt::WaitCursor);
        EXPECT_EQ(form->ProgressBar1->value(), 0.0);
        EXPECT_EQ(form->ProgressBar1->QProgressBar::value(), 0);
        EXPECT_EQ(form->ProgressBar1->text(), "Progress Bar");
        EXPECT_FALSE(form->searching());
    }

    NativePhotoshopLink reader{fakes.desktop};
    Platform platform = fakes.with().photoshop(reader);
    TempDir docs;
};

} // namespace hv::test
