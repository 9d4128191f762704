#include "platform/Failure.h"
#include "platform/qt/QtDialogs.h"
#include "widgets/Contrast.h"
#include "widgets/ListView.h"
#include "widgets/ProgressBar.h"

#include <QTest>

#include <gtest/gtest.h>

namespace hv {
namespace {

TEST(ListView, SelectionAndHitTestUsePositionsFromOne) {
    ListView view(false);
    view.items().addColumn("Photoshop File(s)");
    view.resize(300, 200);
    EXPECT_EQ(view.selectedIndex(), 0);
    view.items().addItem("/a.psd");
    view.items().addItem("/b.psd");
    view.selectItem(2);
    EXPECT_EQ(view.selectedIndex(), 2);
    EXPECT_THROW(view.selectItem(3), Failure);
    view.show();
    const QRect second = view.visualRect(view.model()->index(1, 0));
    EXPECT_EQ(view.hitTest(second.center()), 2);
    EXPECT_EQ(view.hitTest(QPoint(5, 190)), 0);
}

TEST(ProgressBar, KeepsTheValueAsSetShowsItRoundedAndTheCaptionLiterally) {
    ProgressBar bar;
    bar.setValue(100.0 / 3.0);
    EXPECT_DOUBLE_EQ(bar.value(), 100.0 / 3.0);
    EXPECT_EQ(bar.QProgressBar::value(), 33);
    bar.setValue(200.0 / 3.0);
    EXPECT_EQ(bar.QProgressBar::value(), 67);
    bar.setValue(100.05);
    EXPECT_EQ(bar.QProgressBar::value(), 100);
    bar.setText("Processing: 100% done.psd");
    EXPECT_EQ(bar.text(), "Processing: 100% done.psd");
    EXPECT_EQ(static_cast<QProgressBar&>(bar).text(), "Processing: 100% done.psd"); // what the bar draws
}

TEST(Contrast, TextColoursAndFillsAreMovedOnlyAsFarAsNeededToRead) {
    EXPECT_DOUBLE_EQ(contrastRatio(Qt::black, Qt::white), 21.0);
    EXPECT_DOUBLE_EQ(contrastRatio(QColor(0x77, 0x77, 0x77), QColor(0x77, 0x77, 0x77)), 1.0);
    const struct {
        QColor text, fill;
        bool fillKept;
    } rows[] = {
        {Qt::white, QColor(0x12, 0x60, 0x8a), true},  // already reads
        {Qt::white, QColor(0x30, 0x8c, 0xc6), false}, // too light a blue under white
        {Qt::black, QColor(0x30, 0x30, 0x30), false}, // too dark under black
        {QColor(0xdd, 0xdd, 0xdd), Qt::white, false}, // light grey on white
    };
    for (const auto& row : rows) {
        const QColor fill = legibleBehind(row.text, row.fill);
        EXPECT_GE(contrastRatio(row.text, fill), 4.5) << row.text.name().toStdString() << row.fill.name().toStdString();
        EXPECT_EQ(fill == row.fill, row.fillKept);
        EXPECT_GE(contrastRatio(legibleOn(row.fill, row.text), row.fill), 4.5);
    }
}

} // namespace
} // namespace hv
