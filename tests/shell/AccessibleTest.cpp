// What screen readers read from the window, and its colours in a light and
// a dark scheme.
#include "ShellFixture.h"

#include "widgets/AccessibleEvents.h"
#include "widgets/Contrast.h"
#include "widgets/ListView.h"
#include "widgets/ProgressBar.h"

#include <QAccessible>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleFactory>
#include <QTest>

namespace hv::test {
namespace {

struct Heard {
    QAccessible::Event type;
    QAccessible::Role role;
    QAccessible::State changed;
};
std::vector<Heard> heard;

void listen(QAccessibleEvent& event) {
    QAccessibleInterface* source = event.accessibleInterface();
    QAccessible::State changed;
    if (event.type() == QAccessible::StateChanged)
        changed = static_cast<QAccessibleStateChangeEvent&>(event).changedStates();
    heard.push_back({event.type(), source ? source->role() : QAccessible::NoRole, changed});
}

class Accessible : public ShellFixture {
protected:
    void SetUp() override {
        heard.clear();
        setAccessibleEventListener(listen);
    }
    void TearDown() override {
        setAccessibleEventListener(nullptr);
        ShellFixture::TearDown();
    }
    static QAccessibleInterface* of(QWidget* widget) { return QAccessible::queryAccessibleInterface(widget); }
};

TEST_F(Accessible, ListsAndProgressBarAreNamedAndTheCaptionIsTheBarsDescription) {
    load();
    EXPECT_EQ(of(form->ListView1)->text(QAccessible::Name), "Photoshop files");
    EXPECT_EQ(of(form->ListView2)->text(QAccessible::Name), "Results");
    EXPECT_EQ(of(form->ListView1)->role(), QAccessible::Table);
    EXPECT_TRUE(of(form->ListView1)->text(QAccessible::Description).contains("Alt+Up"));
    QAccessibleInterface* progress = of(form->ProgressBar1);
    EXPECT_EQ(progress->text(QAccessible::Name), "Progress");
    EXPECT_EQ(progress->text(QAccessible::Description), "Progress Bar");
    for (const char* caption : {"Processing: a.psd", "Processing: b.psd", "Progress Bar"}) {
        form->ProgressBar1->setText(caption);
        EXPECT_TRUE(QTest::qWaitFor([&] { return progress->text(QAccessible::Description) == caption; }));
    }
    EXPECT_EQ(of(form->PushButton4)->text(QAccessible::Description), "Shortcut: Ctrl+S");
}

TEST_F(Accessible, ResultRowsAreCheckableTheToggleActionTicksAndTicksAreAnnounced) {
    load();
    ListViewModel& results = form->ListView2->items();
    results.addItem(QStringList{"/art/a.psd", "Logo"});
    results.addItem(QStringList{"/art/b.psd", "Back"});
    results.flush();
    QAccessibleTableInterface* table = of(form->ListView2)->tableInterface();
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(of(form->ListView2)->child(1)->text(QAccessible::Name), "Layer Name");
    EXPECT_EQ(table->cellAt(1, 1)->text(QAccessible::Name), "Back");
    EXPECT_FALSE(table->cellAt(1, 1)->state().checkable);

    QAccessibleInterface* tick = table->cellAt(1, 0);
    EXPECT_TRUE(tick->state().checkable);
    EXPECT_EQ(tick->text(QAccessible::Description), "tick box");
    EXPECT_FALSE(tick->state().checked);
    tick->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(results.isChecked(2));
    EXPECT_TRUE(tick->state().checked);
    results.setChecked(2, false);
    EXPECT_FALSE(tick->state().checked);
    EXPECT_FALSE(results.isChecked(1));

    int announced = 0;
    for (const Heard& event : heard)
        if (event.type == QAccessible::StateChanged && event.role == QAccessible::Cell && event.changed.checked)
            ++announced;
    EXPECT_EQ(announced, 2);

    results.clearItems();
    EXPECT_EQ(table->rowCount(), 0);
    EXPECT_EQ(table->cellAt(0, 0), nullptr);
}

TEST_F(Accessible, TheEndOfASearchTellsTheNumberOfMatchesAndStillSaysDone) {
    load();
    fakes.photoshop.addDocument("/art/a.psd", {"Logo", "Logo copy", "Back"});
    form->ListView1->items().addItem("/art/a.psd");
    form->Text1->setText("logo");
    QTest::mouseClick(form->PushButton7, Qt::LeftButton);
    ASSERT_FALSE(fakes.messages.shown.empty());
    EXPECT_EQ(fakes.messages.shown.back().text, "Done.");
    EXPECT_TRUE(of(form->ListView2)->text(QAccessible::Description).startsWith("2 matches found."));
}

QPalette darkScheme() {
    QPalette dark(QColor(0x35, 0x35, 0x35), QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::WindowText, QColor(0xdd, 0xdd, 0xdd));
    dark.setColor(QPalette::ButtonText, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Text, QColor(0xf0, 0xf0, 0xf0));
    return dark;
}

TEST_F(Accessible, EveryTextReadsOnItsBackgroundInALightAndADarkSchemeAndFontsFollowTheDesktop) {
    const QPalette before = QApplication::palette();
    const QFont beforeFont = QApplication::font();
    const struct {
        const char* scheme;
        QPalette palette;
        double desktopPoints, windowPoints, buttonPoints;
    } schemes[] = {
        {"light", std::unique_ptr<QStyle>(QStyleFactory::create("Fusion"))->standardPalette(), 8, 9, 11.25},
        {"dark", darkScheme(), 14, 14, 14},
    };
    for (const auto& scheme : schemes) {
        SCOPED_TRACE(scheme.scheme);
        QFont desktop = beforeFont;
        desktop.setPointSizeF(scheme.desktopPoints);
        QApplication::setFont(desktop);
        load();
        QApplication::setPalette(scheme.palette); // the desktop changes its scheme while the window is open
        QCoreApplication::processEvents();
        // Background and text roles of what each kind of control draws.
        using Pair = std::tuple<QWidget*, QPalette::ColorRole, QPalette::ColorRole>;
        QList<Pair> pairs = {
            {form.get(), QPalette::Window, QPalette::WindowText},
            {form->Text1, QPalette::Base, QPalette::Text},
            {form->ProgressBar1, QPalette::Base, QPalette::Text},
        };
        for (const char* name : {"Frame1", "Frame2", "Option1", "Option2"})
            pairs.append(Pair{control<QWidget>(name), QPalette::Window, QPalette::WindowText});
        for (const char* name : {"Option1", "Option2"}) // filled and written with the button roles
            pairs.append(Pair{control<QWidget>(name), QPalette::Button, QPalette::ButtonText});
        for (QPushButton* button : form->findChildren<QPushButton*>()) {
            pairs.append(Pair{button, QPalette::Button, QPalette::ButtonText});
            EXPECT_EQ(button->palette().color(QPalette::Button), QColor(Qt::white));
        }
        for (ListView* list : {form->ListView1, form->ListView2}) {
            pairs.append(Pair{list, QPalette::Base, QPalette::Text});
            pairs.append(Pair{list, QPalette::Window, QPalette::WindowText});         // beside the headers
            pairs.append(Pair{list, QPalette::Highlight, QPalette::HighlightedText}); // the selected row
            pairs.append(Pair{list->header(), QPalette::Button, QPalette::ButtonText});
            EXPECT_EQ(list->palette().color(QPalette::Window), list->palette().color(QPalette::Base));
        }
        for (const auto& [widget, fill, text] : pairs)
            for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
                const QPalette& palette = widget->palette();
                EXPECT_GE(contrastRatio(palette.color(group, fill), palette.color(group, text)), 4.5)
                    << widget->objectName().toStdString() << " " << fill << " " << group;
            }
        EXPECT_EQ(form->palette().color(QPalette::Window), QColor(Qt::white));
        EXPECT_DOUBLE_EQ(form->font().pointSizeF(), scheme.windowPoints);
        EXPECT_DOUBLE_EQ(form->PushButton7->font().pointSizeF(), scheme.buttonPoints);
        form.reset();
    }
    QApplication::setPalette(before);
    QApplication::setFont(beforeFont);
}

} // namespace
} // namespace hv::test
