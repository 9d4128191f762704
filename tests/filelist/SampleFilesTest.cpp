// "Load Sample/Example Files" and the sample documents the build ships.
#include "FileListFixture.h"

#include "platform/AppTitle.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>

#ifdef HALVORINE_HAVE_PSD_READER
#include "psd/LayerReader.h"
#endif

namespace hv::test {
namespace {

const char* const kQuestion =
    "Would you like this software to open the folder where these sample files are stored (so that you can view "
    "them before working with them)?";

class SampleFilesCommand : public FileListFixture {
protected:
    QString sample(const QString& name) { return appFolder.path("Samples/" + name); }
    void installSamples() {
        appFolder.file("Samples/c.psd");
        appFolder.file("Samples/a.psd");
        appFolder.file("Samples/B.psd");
        appFolder.folder("Samples/not-a-file");
    }
};

TEST_F(SampleFilesCommand, AppendsTheSamplesAsksAndThenSetsTheSearchText) {
    installSamples();
    load();
    addRows({"/earlier.psd"});
    form->Text1->setText("typed");
    QString textWhileAsking;
    fakes.messages.onShow = [&](const Message&) { textWhileAsking = form->Text1->text(); };
    click(form->PushButton9);
    EXPECT_EQ(rows(), (QStringList{"/earlier.psd", sample("a.psd"), sample("B.psd"), sample("c.psd")}));
    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    const Message& asked = fakes.messages.shown[0];
    EXPECT_EQ(asked.text, kQuestion);
    EXPECT_EQ(asked.buttons, MessageButtons::YesNo);
    EXPECT_EQ(asked.icon, MessageIcon::None);
    EXPECT_EQ(asked.title, appTitle());
    EXPECT_EQ(textWhileAsking, "typed");
    EXPECT_EQ(form->Text1->text(), "Layer");
    EXPECT_TRUE(fakes.desktop.folders.isEmpty());  // answered No
}

TEST_F(SampleFilesCommand, ASecondClickAppendsNothingButAsksAgain) {
    installSamples();
    load();
    click(form->PushButton9);
    form->Text1->setText("changed");
    click(form->PushButton9);
    EXPECT_EQ(rows().size(), 3);
    EXPECT_EQ(fakes.messages.shown.size(), 2u);
    EXPECT_EQ(form->Text1->text(), "Layer");
}

TEST_F(SampleFilesCommand, OnlyAnExactlyEqualPathCountsAsListed) {
    installSamples();
    load();
    addRows({sample("a.psd"), sample("b.psd")});
    click(form->PushButton9);
    EXPECT_EQ(rows(), (QStringList{sample("a.psd"), sample("b.psd"), sample("B.psd"), sample("c.psd")}));
}

TEST_F(SampleFilesCommand, WithoutASampleFolderNothingIsAppendedButTheQuestionIsAsked) {
    load();
    click(form->PushButton9);
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_EQ(fakes.messages.texts(), QStringList{kQuestion});
    EXPECT_EQ(form->Text1->text(), "Layer");
}

TEST_F(SampleFilesCommand, YesOpensTheSampleFolder) {
    installSamples();
    load();
    fakes.messages.answers.push_back(MessageAnswer::Yes);
    click(form->PushButton9);
    EXPECT_EQ(fakes.desktop.folders, QStringList{appFolder.path("Samples/")});
}

// The documents in the Samples folder beside the built program.
TEST(ShippedSamples, AtLeastThreeLayeredDocumentsWithLayersNamedLayer) {
    const QDir samples(QStringLiteral(HALVORINE_APP_DIR "/Samples"));
    const QStringList documents = samples.entryList({"*.psd"}, QDir::Files);
    ASSERT_GE(documents.size(), 3) << samples.path().toStdString();
    for (const QString& name : documents) {
        SCOPED_TRACE(name.toStdString());
        QFile file(samples.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.read(4), "8BPS");
#ifdef HALVORINE_HAVE_PSD_READER
        const psd::ReadResult read = psd::readLayerItems(QFile::encodeName(file.fileName()).toStdString());
        ASSERT_TRUE(read.ok()) << read.error().message;
        EXPECT_GE(read.document().items.size(), 2u);
        bool found = false;
        for (const std::u16string& layer : read.document().names())
            found = found || QString::fromStdU16String(layer).contains("Layer");
        EXPECT_TRUE(found);
#endif
    }
}

} // namespace
} // namespace hv::test
