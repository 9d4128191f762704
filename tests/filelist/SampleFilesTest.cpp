// "Load Sample/Example Files" and the sample documents the build ships.
#include "FileListFixture.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>

#ifdef HALVORINE_HAVE_PSD_READER
#include "psd/LayerReader.h"
#include "psd/Thumbnail.h"
#endif

namespace hv::test {
namespace {

const char* const kQuestion =
    "Would you like this software to open the folder where these sample files are stored (so that you can view "
    "them before working with them)?";

class SampleFilesCommand : public FileListFixture {
protected:
    QString sample(const QString& name) { return appFolder.path("Samples/" + name); }
};

TEST_F(SampleFilesCommand, AppendsTheUnlistedSamplesAsksEveryTimeThenSetsTheSearchText) {
    for (const char* name : {"Samples/c.psd", "Samples/a.psd", "Samples/B.psd"}) appFolder.file(name);
    appFolder.folder("Samples/folder.psd");
    load();
    addRows({"/earlier.psd", sample("b.psd"), sample("c.psd")});
    form->Text1->setText("typed");
    QStringList textWhileAsking;
    fakes.messages.onShow = [&](const Message&) { textWhileAsking.append(form->Text1->text()); };
    click(form->PushButton9);
    form->Text1->setText("changed");
    click(form->PushButton9);
    EXPECT_EQ(rows(),
              (QStringList{"/earlier.psd", sample("b.psd"), sample("c.psd"), sample("a.psd"), sample("B.psd")}));
    EXPECT_EQ(textWhileAsking, (QStringList{"typed", "changed"}));
    EXPECT_EQ(form->Text1->text(), "Layer");
    ASSERT_EQ(fakes.messages.shown.size(), 2u);
    const Message& asked = fakes.messages.shown[0];
    EXPECT_EQ(asked.text, kQuestion);
    EXPECT_EQ(asked.buttons, MessageButtons::YesNo);
    EXPECT_EQ(asked.icon, MessageIcon::None);
    EXPECT_EQ(asked.title, form->appTitle());
    EXPECT_TRUE(fakes.desktop.folders.isEmpty()); // answered No
}

TEST_F(SampleFilesCommand, WithoutASampleFolderTheQuestionIsStillAskedAndYesOpensTheFolder) {
    load();
    fakes.messages.answers.push_back(MessageAnswer::Yes);
    click(form->PushButton9);
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_EQ(fakes.messages.texts(), QStringList{kQuestion});
    EXPECT_EQ(fakes.desktop.folders, QStringList{appFolder.path("Samples/")});
    EXPECT_EQ(form->Text1->text(), "Layer");
}

TEST_F(SampleFilesCommand, AFolderNoOtherApplicationOpensIsReportedAndTheSearchTextStillSet) {
    load();
    fakes.messages.answers.push_back(MessageAnswer::Yes);
    fakes.desktop.takes = false;
    click(form->PushButton9);
    ASSERT_EQ(fakes.messages.shown.size(), 2u);
    EXPECT_TRUE(fakes.messages.shown[1].text.contains("no application other than this program to open the folder \""
                                                      + appFolder.path("Samples/") + "\""));
    EXPECT_TRUE(fakes.messages.shown[1].text.contains("PushButton9_Click at line 100"));
    EXPECT_EQ(form->Text1->text(), "Layer");
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
        EXPECT_GE(read.document().items.size(), 3u);
        bool found = false;
        for (const std::u16string& layer : read.document().names())
            found = found || QString::fromStdU16String(layer).contains("Layer");
        EXPECT_TRUE(found);
        const psd::ThumbnailResult thumbnail = psd::readThumbnail(QFile::encodeName(file.fileName()).toStdString());
        ASSERT_TRUE(thumbnail.found());
        const auto& jpeg = thumbnail.thumbnail().jpeg;
        const QImage picture =
            QImage::fromData(reinterpret_cast<const uchar*>(jpeg.data()), static_cast<int>(jpeg.size()), "JPEG");
        EXPECT_EQ(picture.size(), QSize(8, 8));
#endif
    }
}

} // namespace
} // namespace hv::test
