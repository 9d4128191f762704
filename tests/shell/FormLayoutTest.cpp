#include "ShellFixture.h"

#include "widgets/ListView.h"
#include "widgets/ProgressBar.h"
#include "widgets/Twips.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace hv::test {
namespace {

struct ControlRow {
    const char* name;
    const char* kind;
    const char* parent;
    QString caption;
    int left, top, width, height;
    int tabIndex;
};

const ControlRow kControls[] = {
    {"ListView1", "hv::ListView", "Form1", {}, 120, 120, 7800, 1575, 0},
    {"PushButton1", "QPushButton", "Form1", "Add PSD File(s)", 120, 1780, 3840, 405, 9},
    {"PushButton6", "QPushButton", "Form1", "Add All PSD File(s) In Folder", 4080, 1780, 3840, 405, 10},
    {"PushButton5", "QPushButton", "Form1", "Clear List", 120, 2290, 3840, 405, 17},
    {"PushButton9", "QPushButton", "Form1", "Load Sample/Example Files", 4080, 2290, 3840, 405, 18},
    {"Frame1", "QGroupBox", "Form1", "Search For Layers With These Characters", 120, 2775, 7800, 1350, 11},
    {"Text1", "QLineEdit", "Frame1", {}, 240, 300, 7290, 360, 12},
    {"PushButton7", "QPushButton", "Frame1", "Start Searching", 240, 765, 7320, 405, 13},
    {"Frame2", "QGroupBox", "Form1", "Case Options", 120, 4200, 7800, 720, 14},
    {"Option2", "QRadioButton", "Frame2", "Ignore case", 240, 300, 1365, 285, 15},
    {"Option1", "QRadioButton", "Frame2", "Match case", 1800, 300, 1365, 300, 16},
    {"ListView2", "hv::ListView", "Form1", {}, 120, 5040, 7800, 1860, 1},
    {"PushButton3", "QPushButton", "Form1", "Open Selected File", 120, 6990, 3840, 405, 2},
    {"PushButton2", "QPushButton", "Form1", "Clear Results", 4080, 6990, 3840, 405, 5},
    {"PushButton4", "QPushButton", "Form1", "Save Results As Text File", 120, 7500, 3840, 405, 3},
    {"PushButton13", "QPushButton", "Form1", "Save Results As Excel File", 4080, 7500, 3840, 405, 4},
    {"PushButton8", "QPushButton", "Form1", "Copy Results To Clipboard", 120, 8010, 3840, 405, 8},
    {"PushButton16", "QPushButton", "Form1", "Help", 4080, 8010, 3840, 405, 6},
    {"ProgressBar1", "hv::ProgressBar", "Form1", "Progress Bar", 120, 8530, 7800, 405, 7},
};

QString captionOf(QWidget* widget) {
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
    if (auto* frame = qobject_cast<QGroupBox*>(widget)) return frame->title();
    if (auto* bar = qobject_cast<ProgressBar*>(widget)) return bar->text();
    return {};
}

using FormLayout = ShellFixture;

TEST_F(FormLayout, EveryControlHasItsKindCaptionPlaceAndTabIndex) {
    load();
    for (const ControlRow& row : kControls) {
        SCOPED_TRACE(row.name);
        QWidget* widget = control<QWidget>(row.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_STREQ(widget->metaObject()->className(), row.kind);
        EXPECT_EQ(widget->parentWidget()->objectName(), QString::fromLatin1(row.parent));
        EXPECT_EQ(captionOf(widget), row.caption);
        const QRect expected(twipsToPixels(row.left), twipsToPixels(row.top), twipsToPixels(row.width),
                             twipsToPixels(row.height));
        EXPECT_EQ(widget->geometry(), expected);
        EXPECT_EQ(widget->property("tabIndex").toInt(), row.tabIndex);
    }
}

TEST_F(FormLayout, TabMovesInReadingOrderOverFocusableControls) {
    load();
    const QStringList expected = {"ListView1",   "PushButton1",  "PushButton6", "PushButton5",
                                  "PushButton9", "Text1",        "PushButton7", "Option2",
                                  "Option1",     "ListView2",    "PushButton3", "PushButton2",
                                  "PushButton4", "PushButton13", "PushButton8", "PushButton16"};
    QStringList chain;
    QWidget* widget = control<QWidget>("ListView1");
    for (int i = 0; i < expected.size(); ++i) {
        chain.append(widget->objectName());
        int guard = 0;
        do widget = widget->nextInFocusChain();
        while ((!(widget->focusPolicy() & Qt::TabFocus) || widget->objectName().isEmpty()) && ++guard < 1000);
    }
    EXPECT_EQ(chain, expected);
}

TEST_F(FormLayout, WindowIsFixedWhiteAndTitledAfterStartUp) {
    load();
    EXPECT_EQ(form->windowTitle(), "Halvorine");
    EXPECT_EQ(form->size(), QSize(twipsToPixels(8040), twipsToPixels(9075)));
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
    EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(form->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_EQ(form->font().family(), "Arial");
    EXPECT_TRUE(form->font().bold());
    EXPECT_DOUBLE_EQ(form->font().pointSizeF(), 9);
    auto* start = control<QPushButton>("PushButton7");
    EXPECT_DOUBLE_EQ(start->font().pointSizeF(), 11.25);
    EXPECT_TRUE(start->font().bold());
    EXPECT_FALSE(start->isDefault());
}

TEST_F(FormLayout, StartsWithIgnoreCaseEmptyListsHeadersAndIdleProgress) {
    load();
    EXPECT_TRUE(control<QRadioButton>("Option2")->isChecked());
    EXPECT_FALSE(control<QRadioButton>("Option1")->isChecked());
    EXPECT_TRUE(control<QLineEdit>("Text1")->text().isEmpty());

    auto* files = control<ListView>("ListView1");
    EXPECT_EQ(files->items().itemCount(), 0);
    EXPECT_EQ(files->items().headerCount(), 1);
    EXPECT_EQ(files->items().headerText(1), "Photoshop File(s)");
    EXPECT_EQ(files->columnWidth(0), twipsToPixels(7000));
    EXPECT_FALSE(files->items().isCheckable());
    EXPECT_EQ(files->toolTip(), "Drag and drop files here. Double-click item to remove it. Move | line to right and "
                                "out of window to reveal full names.");

    auto* results = control<ListView>("ListView2");
    EXPECT_EQ(results->items().itemCount(), 0);
    ASSERT_EQ(results->items().headerCount(), 2);
    EXPECT_EQ(results->items().headerText(1), "File");
    EXPECT_EQ(results->items().headerText(2), "Layer Name");
    EXPECT_EQ(results->columnWidth(0), twipsToPixels(5000));
    EXPECT_EQ(results->columnWidth(1), twipsToPixels(2000));
    EXPECT_TRUE(results->items().isCheckable());
    EXPECT_EQ(results->toolTip(), "Move | line to right and out of window to reveal full names.");

    auto* progress = control<ProgressBar>("ProgressBar1");
    EXPECT_EQ(progress->text(), "Progress Bar");
    EXPECT_EQ(progress->value(), 0);
    EXPECT_EQ(form->pointer(), Pointer::Default);
}

TEST_F(FormLayout, ResultRowsCarryAnUntickedCheckBoxTheUserCanTick) {
    load();
    auto* results = control<ListView>("ListView2");
    results->items().addItem(QStringList{"/art/a.psd", "Logo"});
    results->items().flush();
    const QModelIndex cell = results->model()->index(0, 0);
    EXPECT_EQ(results->model()->data(cell, Qt::CheckStateRole).toInt(), Qt::Unchecked);
    EXPECT_TRUE(results->model()->flags(cell) & Qt::ItemIsUserCheckable);
    results->model()->setData(cell, Qt::Checked, Qt::CheckStateRole);
    EXPECT_TRUE(results->items().isChecked(1));
}

} // namespace
} // namespace hv::test
