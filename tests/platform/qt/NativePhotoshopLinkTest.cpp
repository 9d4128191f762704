// The document link on top of the layer reader.

#include "psd/TestDocuments.h"

#include "platform/Failure.h"
#include "platform/PathBytes.h"
#include "platform/qt/NativePhotoshopLink.h"
#include "psd/testing/PsdWriter.h"
#include "support/Fakes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QFile>
#include <QStringList>

#include <atomic>
#include <fstream>
#include <memory>
#include <utility>

namespace hv {
namespace {

using ::testing::HasSubstr;

class NativeLinkTest : public ::testing::Test {
protected:
    NativeLinkTest() {
        psd::testing::PsdWriter writer(psd::testing::Format::Psd);
        writer.layer(u"Title \U0001F47D");
        writer.beginGroup(u"Группа");
        writer.layer(u"Inside");
        writer.endGroup();
        writer.layer(u"Background");
        path = QString::fromStdString(dir.file("poster.psd"));
        writer.writeFile(path.toStdString());
    }

    std::string failureOf(const std::function<void()>& action) {
        try {
            action();
        } catch (const Failure& failure) {
            return failure.description().toStdString();
        }
        ADD_FAILURE() << "no failure";
        return {};
    }

    psd::test::ScratchDir dir;
    QString path;
    test::FakeDesktopShell shell;
    NativePhotoshopLink link{shell};
};

TEST_F(NativeLinkTest, CountAndNamesAreTheDocumentsItemsTopFirst) {
    auto app = link.create();
    auto doc = app->open(path);
    ASSERT_EQ(doc->layerCount(), 4);
    const QStringList names = {doc->layerName(1), doc->layerName(2), doc->layerName(3), doc->layerName(4)};
    EXPECT_EQ(names, (QStringList{QString::fromUtf8("Title \xF0\x9F\x91\xBD"), QString::fromUtf8("Группа"), "Inside",
                                  "Background"}));
    doc->close();
    app->quit();
}

TEST_F(NativeLinkTest, ANameThatIsNotUtf8OpensTheDocumentOnDisk) {
    const std::string bytes = dir.file("caf\xe9.psd");
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::ofstream(bytes, std::ios::binary) << in.rdbuf();
    auto doc = link.create()->open(pathText(bytes));
    EXPECT_EQ(doc->layerCount(), 4);
    doc->close();
}

TEST_F(NativeLinkTest, FactsTellGroupsKindVisibilityAndSizeAndUnknownOutsideTheItemsOrOnceClosed) {
    auto doc = link.create()->open(path);
    EXPECT_EQ(doc->documentFacts(), (DocumentFacts{4, 4, 8, "RGB"}));
    EXPECT_EQ(doc->layerFacts(2), (LayerFacts{{}, "group", true}));
    EXPECT_EQ(doc->layerFacts(3), (LayerFacts{{QString::fromUtf8("Группа")}, "pixel", true}));
    for (const std::int32_t index : {0, 5}) EXPECT_EQ(doc->layerFacts(index), LayerFacts{});
    doc->close();
    EXPECT_EQ(doc->layerFacts(3), LayerFacts{});
    EXPECT_EQ(doc->documentFacts(), DocumentFacts{});
}

TEST_F(NativeLinkTest, IndexOutsideOneToCountFails) {
    auto doc = link.create()->open(path);
    for (const std::int32_t index : {0, -1, 5}) {
        EXPECT_THAT(failureOf([&] { doc->layerName(index); }),
                    HasSubstr("Layer index " + std::to_string(index) + " is out of range"));
        EXPECT_THAT(failureOf([&] { doc->layerNameView(index); }),
                    HasSubstr("Layer index " + std::to_string(index) + " is out of range"));
    }
    for (const std::int32_t index : {1, 2, 3, 4})
        EXPECT_EQ(doc->layerNameView(index).value_or(QStringView()).toString(), doc->layerName(index));
    doc->close();
    EXPECT_THAT(failureOf([&] { doc->layerNameView(1); }), HasSubstr("already been closed"));
}

TEST_F(NativeLinkTest, OpenFailureNamesTheFileAndTheProblem) {
    auto app = link.create();
    const std::string notPsd = dir.file("notes.psd");
    std::ofstream(notPsd) << "just some text";
    EXPECT_EQ(failureOf([&] { app->open(QString::fromStdString(notPsd)); }),
              "Cannot open \"" + notPsd
                  + "\": not a Photoshop document: the file does not start with the signature '8BPS'");
    EXPECT_THAT(failureOf([&] { app->open(QString::fromStdString(dir.file("gone.psd"))); }),
                HasSubstr("gone.psd\": cannot open the file: No such file or directory"));
    EXPECT_EQ(failureOf([&] { app->open(""); }), "Cannot open \"\": no file name given");
    EXPECT_TRUE(shell.documents.isEmpty());
}

TEST_F(NativeLinkTest, ClosedDocumentIsNotShownAndRefusesFurtherUse) {
    {
        auto doc = link.create()->open(path);
        doc->close();
        EXPECT_THAT(failureOf([&] { doc->layerCount(); }), HasSubstr("already been closed"));
    }
    EXPECT_TRUE(shell.documents.isEmpty());
}

TEST_F(NativeLinkTest, OnlyShowingHandsTheDocumentToTheDesktopWhichMayRefuse) {
    {
        auto app = link.create();
        auto doc = app->open(path);
        app.reset(); // the application may go first
        doc->showToUser();
        EXPECT_EQ(shell.documents, QStringList{path});
        shell.takes = false;
        EXPECT_THAT(failureOf([&] { doc->showToUser(); }),
                    HasSubstr("no application other than this program to open \"" + path.toStdString() + "\""));
    }
    link.create()->open(path); // released unshown
    EXPECT_EQ(shell.documents.size(), 2);
}

TEST_F(NativeLinkTest, QuitApplicationOpensNothingMore) {
    auto app = link.create();
    app->quit();
    EXPECT_THAT(failureOf([&] { app->open(path); }), HasSubstr("has already quit"));
    EXPECT_NE(link.create()->open(path), nullptr);
}

// Reading ahead: a reader that counts its reads stands in for the layer
// reader and hands its work on to it.
TEST_F(NativeLinkTest, AnnouncedDocumentsAreReadOnceEachAndOpenAsWithoutReadingAhead) {
    const QString notPsd = QString::fromStdString(dir.file("notes.psd"));
    std::ofstream(notPsd.toStdString()) << "just some text";
    const QString unannounced = QString::fromStdString(dir.file("copy.psd"));
    QFile::copy(path, unannounced);
    for (const std::size_t readAhead : {std::size_t{1}, std::size_t{2}, std::size_t{8}}) {
        auto reads = std::make_shared<std::atomic<int>>(0);
        NativePhotoshopLink reading(shell, readAhead, [reads](const std::string& file) {
            ++*reads;
            return psd::readLayerItems(file);
        });
        auto app = reading.create();
        app->expect({path, notPsd, path});
        for (const QString& each : {path, notPsd, path, unannounced}) {
            while (!app->waitUntilReady(each, 10)) continue;
            if (each == notPsd) {
                EXPECT_EQ(failureOf([&] { app->open(each); }), failureOf([&] { link.create()->open(each); }));
                continue;
            }
            auto doc = app->open(each);
            EXPECT_EQ(doc->layerCount(), 4) << "K = " << readAhead;
            doc->close();
        }
        EXPECT_EQ(*reads, 4) << "K = " << readAhead;
        app->quit();
    }
    EXPECT_TRUE(shell.documents.isEmpty());
}

} // namespace
} // namespace hv
