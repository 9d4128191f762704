// The documents' preview pictures, read on the worker thread and kept.

#include "psd/TestDocuments.h"

#include "platform/qt/QtDocumentThumbnails.h"
#include "psd/testing/PsdWriter.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QSet>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace hv {
namespace {

using psd::testing::PsdWriter;

std::vector<std::byte> jpegOf(QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, "JPG"));
    const auto* data = reinterpret_cast<const std::byte*>(bytes.constData());
    return {data, data + bytes.size()};
}

class DocumentThumbnailsTest : public ::testing::Test {
protected:
    // A document whose thumbnail resource `id` holds `jpeg`; none when empty.
    QString document(const char* name, std::uint16_t id, const std::vector<std::byte>& jpeg) {
        PsdWriter writer;
        writer.layer(u"Layer");
        if (!jpeg.empty()) writer.imageResources.push_back(psd::testing::thumbnailResource(id, jpeg));
        const QString path = QString::fromStdString(dir.file(name));
        writer.writeFile(QFile::encodeName(path).toStdString());
        return path;
    }

    // Requests every path (twice: a read in progress is not started again)
    // and waits until each read has ended.
    void requestAll(QtDocumentThumbnails& thumbnails, const QStringList& paths) {
        for (const QString& path : paths) thumbnails.request(path);
        for (const QString& path : paths) thumbnails.request(path);
        const QSet<QString> wanted(paths.begin(), paths.end());
        ASSERT_TRUE(QTest::qWaitFor([&] { return QSet<QString>(arrived.begin(), arrived.end()).contains(wanted); }));
    }

    psd::test::ScratchDir dir;
    QStringList arrived;
};

TEST_F(DocumentThumbnailsTest, PicturesAreScaledToAtMost160PixelsAndTheOldFormHasRedAndBlueSwapped) {
    std::vector<std::byte> broken = jpegOf({64, 64}, Qt::red);
    broken.resize(40);
    struct Case {
        QString path;
        std::optional<QSize> shown; // none: the tool tip shows text only
        QColor colour;
    };
    const Case cases[] = {
        {document("wide.psd", 1036, jpegOf({320, 160}, Qt::red)), QSize(160, 80), Qt::red},
        {document("tall.psd", 1036, jpegOf({90, 400}, Qt::green)), QSize(36, 160), Qt::green},
        {document("old.psd", 1033, jpegOf({100, 50}, Qt::blue)), QSize(100, 50), Qt::red},
        {document("none.psd", 1036, {}), std::nullopt, {}},
        {document("broken.psd", 1036, broken), std::nullopt, {}},
        {QString::fromStdString(dir.file("missing.psd")), std::nullopt, {}},
    };
    QtDocumentThumbnails thumbnails;
    thumbnails.setArrived([&](const QString& path) { arrived << path; });
    QStringList paths;
    for (const Case& c : cases) paths << c.path;

    requestAll(thumbnails, paths);

    EXPECT_EQ(arrived.size(), paths.size()) << "each document is read once";
    for (const Case& c : cases) {
        const std::optional<DocumentPicture> picture = thumbnails.picture(c.path);
        ASSERT_EQ(picture.has_value(), c.shown.has_value()) << c.path.toStdString();
        if (!picture) continue;
        const QImage image = QImage::fromData(picture->png, "PNG");
        EXPECT_EQ(image.size(), *c.shown) << c.path.toStdString();
        EXPECT_EQ(QSize(picture->width, picture->height), *c.shown);
        const QColor centre = image.pixelColor(image.width() / 2, image.height() / 2);
        EXPECT_NEAR(centre.red(), c.colour.red(), 40) << c.path.toStdString();
        EXPECT_NEAR(centre.green(), c.colour.green(), 40) << c.path.toStdString();
        EXPECT_NEAR(centre.blue(), c.colour.blue(), 40) << c.path.toStdString();
    }
    // Kept, a picture or none: asking again reads nothing.
    for (const QString& path : paths) thumbnails.request(path);
    QCoreApplication::processEvents();
    EXPECT_EQ(arrived.size(), paths.size());
}

TEST_F(DocumentThumbnailsTest, KeptPicturesAreBoundedTheLeastRecentlyAskedForGoesFirst) {
    const QString first = document("first.psd", 1036, jpegOf({160, 160}, Qt::red));
    const QString second = document("second.psd", 1036, jpegOf({160, 160}, Qt::blue));
    const std::optional<DocumentPicture> one = QtDocumentThumbnails::readPicture(first);
    ASSERT_TRUE(one);
    QtDocumentThumbnails thumbnails(one->png.size() * 3 / 2); // room for one picture
    thumbnails.setArrived([&](const QString& path) { arrived << path; });

    requestAll(thumbnails, {first});
    ASSERT_TRUE(thumbnails.picture(first));
    requestAll(thumbnails, {second});
    EXPECT_TRUE(thumbnails.picture(second));
    EXPECT_FALSE(thumbnails.picture(first));

    arrived.clear();
    requestAll(thumbnails, {first}); // read again when hovered again
    EXPECT_TRUE(thumbnails.picture(first));
}

} // namespace
} // namespace hv
