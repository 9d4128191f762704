#include "platform/Failure.h"
#include "platform/qt/QtDialogs.h"
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

} // namespace
} // namespace hv
