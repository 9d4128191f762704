#include "ShellFixture.h"

#include "core/BuildInfo.h"
#include "widgets/ListView.h"

#include <QFile>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace hv::test {
namespace {

using Startup = ShellFixture;

QByteArray assetBytes(const char* name) {
    QFile file(QStringLiteral(HALVORINE_ASSETS_DIR "/") + QString::fromLatin1(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

TEST_F(Startup, HandCursorFileGivesTheCustomPointerItsImage) {
    appFolder.file("HAND-M.CUR", assetBytes("HAND-M.CUR"));
    load();
    EXPECT_TRUE(form->hasCustomPointerImage());
    EXPECT_TRUE(fakes.messages.shown.empty()) << fakes.messages.texts().join('\n').toStdString();
}

TEST_F(Startup, MissingHandCursorIsNoErrorAndTheCustomPointerLooksLikeTheArrow) {
    load();
    EXPECT_FALSE(form->hasCustomPointerImage());
    EXPECT_TRUE(fakes.messages.shown.empty());
    form->setPointer(Pointer::Custom);
    EXPECT_EQ(form->pointer(), Pointer::Custom);
    EXPECT_EQ(form->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(Startup, UnreadableHandCursorIsReportedAtItsStatementAndStartUpGoesOn) {
    appFolder.file("HAND-M.CUR", "not a picture");
    load();
    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    EXPECT_TRUE(fakes.messages.shown[0].text.contains("in Velquist2021/08/31.Form1.Form_Load at line 106"));
    EXPECT_EQ(form->windowTitle(), "Halvorine");
    EXPECT_EQ(control<ListView>("ListView2")->items().headerCount(), 2);
}

TEST_F(Startup, SkinFileSwitchesTheBackgroundsToButtonFace) {
    appFolder.file("x/o.cjs", "skin");
    load();
    const QColor face = QApplication::palette().color(QPalette::Button);
    EXPECT_TRUE(form->skinApplied());
    EXPECT_EQ(form->palette().color(QPalette::Window), face);
    EXPECT_EQ(control<QGroupBox>("Frame1")->palette().color(QPalette::Window), face);
    EXPECT_EQ(control<QRadioButton>("Option1")->palette().color(QPalette::Window), face);
}

TEST_F(Startup, WithoutASkinFileOrWithAFolderInItsPlaceTheWindowStaysWhite) {
    appFolder.folder("x/o.cjs");
    load();
    EXPECT_FALSE(form->skinApplied());
    EXPECT_EQ(form->palette().color(QPalette::Window), QColor(Qt::white));
}

TEST_F(Startup, HomePageOpensOnDrawSevenOnly) {
    for (int draw : {1, 6, 8, 100}) {
        fakes.desktop.urls.clear();
        load(draw);
        EXPECT_TRUE(fakes.desktop.urls.isEmpty()) << draw;
    }
    load(7);
    EXPECT_EQ(fakes.desktop.urls, QStringList{homePage()});
}

TEST_F(Startup, DocumentLinkIsCreatedAndToldToQuitOnEveryStart) {
    load();
    EXPECT_EQ(fakes.photoshop.log, (QStringList{"create", "quit"}));
    EXPECT_TRUE(fakes.messages.shown.empty());
}

TEST_F(Startup, MissingDocumentLinkIsToldOnceAndTheWindowStillOpens) {
    fakes.photoshop.failCreate = true;
    load();
    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    const Message& shown = fakes.messages.shown[0];
    EXPECT_EQ(shown.text, "Photoshop is not installed on this computer. You need to have it installed to use this "
                          "software without error. Unfortunately due to changes made by Adobe, this software does "
                          "not work with Photoshop CC");
    EXPECT_EQ(shown.title, "Halvorine");
    EXPECT_EQ(shown.buttons, MessageButtons::Ok);
    EXPECT_EQ(shown.icon, MessageIcon::None);
    EXPECT_EQ(control<ListView>("ListView1")->items().headerCount(), 1);
}

TEST_F(Startup, MessageBoxesCarryTheApplicationTitle) {
    load();
    EXPECT_EQ(form->appTitle(), "Halvorine");
    QTest::mouseClick(control<QPushButton>("PushButton16"), Qt::LeftButton);
    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    EXPECT_EQ(fakes.messages.shown[0].title, "Halvorine");
}

} // namespace
} // namespace hv::test
