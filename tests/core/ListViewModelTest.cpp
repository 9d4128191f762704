#include "core/ListViewModel.h"
#include "platform/Failure.h"

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

TEST(ListViewModel, FactsStayBesideTheCellsWithTheirRowAndNeverShowInTheView) {
    ListViewModel model(true);
    model.addColumn("File");
    const RowFacts logo{{800, 600, 8, "RGB"}, {{"Brand", "Logos"}, "text", false}};
    const RowFacts back{{800, 600, 8, "RGB"}, {{}, "pixel", true}};
    for (const RowFacts& facts : {logo, back, logo}) model.addItem(QStringList{"/a.psd"}, facts);
    model.addItem("/b.psd");
    model.flush();

    EXPECT_EQ(model.itemFacts(3), logo);
    EXPECT_EQ(model.itemFacts(4), RowFacts{});
    EXPECT_FALSE(model.data(model.index(0, 0), Qt::ToolTipRole).isValid());
    model.removeItem(1);
    EXPECT_EQ(model.itemFacts(1), back);
    model.clearItems();
    model.addItem(QStringList{"/c.psd"}, back);
    EXPECT_EQ(model.itemFacts(1), back);
}

} // namespace
} // namespace hv
