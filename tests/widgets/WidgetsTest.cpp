#include "platform/Failure.h"
#include "platform/qt/QtDialogs.h"
#include "widgets/ListView.h"
#include "widgets/ProgressBar.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace hv {
namespace {

TEST(ListViewModel, ItemsCountFromOneAndMissingRowsOrColumnsFail) {
    ListViewModel model(true);
    model.addColumn("File");
    model.addColumn("Layer Name");
    EXPECT_EQ(model.addItem(QStringList{"/a.psd", "Logo"}), 1);
    EXPECT_EQ(model.addItem("/b.psd"), 2);
    EXPECT_EQ(model.itemText(1), "/a.psd");
    EXPECT_EQ(model.itemText(1, 2), "Logo");
    EXPECT_EQ(model.itemText(2, 2), "");
    EXPECT_FALSE(model.isChecked(2));
    EXPECT_THROW(model.itemText(0), Failure);
    EXPECT_THROW(model.itemText(3), Failure);
    EXPECT_THROW(model.itemText(1, 3), Failure);
    EXPECT_THROW(model.isChecked(3), Failure);
    EXPECT_THROW(model.removeItem(3), Failure);

    model.setChecked(2, true);
    model.setItemText(2, 2, "Title");
    model.removeItem(1);
    EXPECT_EQ(model.itemCount(), 1);
    EXPECT_EQ(model.itemText(1, 2), "Title");
    EXPECT_TRUE(model.isChecked(1));
    model.clearItems();
    EXPECT_EQ(model.itemCount(), 0);
    EXPECT_EQ(model.rowCount(), 0);
}

TEST(ListViewModel, AppendedRowsReachTheViewInOneBatch) {
    ListViewModel model(false);
    model.addColumn("Photoshop File(s)");
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    for (int i = 0; i < 1000; ++i) model.addItem(QStringLiteral("/art/%1.psd").arg(i));
    EXPECT_EQ(model.itemCount(), 1000); // the program sees every row at once
    EXPECT_EQ(inserted.count(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return model.rowCount() == 1000; }, 2000));
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(model.data(model.index(999, 0), Qt::DisplayRole).toString(), "/art/999.psd");
}

TEST(ListViewModel, RemovingOrChangingARowFirstShowsThePendingRows) {
    ListViewModel model(true);
    model.addColumn("File");
    model.addItem("/a.psd");
    model.addItem("/b.psd");
    model.removeItem(1);
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.data(model.index(0, 0), Qt::DisplayRole).toString(), "/b.psd");
    EXPECT_EQ(model.data(model.index(0, 0), Qt::CheckStateRole).toInt(), Qt::Unchecked);
}

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

TEST(QtDialogs, FiltersAreTranslatedToTheQtForm) {
    EXPECT_EQ(qtFilterFromPipes("Photoshop Files (*.psd)|*.psd|"), "Photoshop Files (*.psd)");
    EXPECT_EQ(qtFilterFromPipes("Text Files (*.txt)|*.txt|All Files (*.*)|*.*|"),
              "Text Files (*.txt);;All Files (*.*)");
    EXPECT_EQ(qtFilterFromPipes("Pictures|*.psd;*.psb|"), "Pictures (*.psd *.psb)");
}

} // namespace
} // namespace hv
