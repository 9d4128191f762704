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

#include <chrono>
#include <cstdlib>
#include <thread>

namespace hv {
namespace {

std::vector<std::byte> jpegOf(QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    const auto* data = reinterpret_cast<const std::byte*>(bytes.constData());
    return {data, data + bytes.size()};
}

class DocumentThumbnailsTest : public ::testing::Test {
protected:
    // A document whose thumbnail resource `id` holds `jpeg`; none when empty.
    QString document(const char* name, std::uint16_t id, const std::vector<std::byte>& jpeg) {
        psd::testing::PsdWriter writer;
        if (!jpeg.empty()) writer.imageResources.push_back(psd::testing::thumbnailResource(id, jpeg));
        const QString path = QString::fromStdString(dir.file(name));
        writer.writeFile(QFile::encodeName(path).toStdString());
        return path;
    }

    // Requests every path twice (a read in progress is not started again)
    // and waits until each read has ended.
    void requestAll(QtDocumentThumbnails& thumbnails, const QStringList& paths) {
        arrived.clear();
        thumbnails.setArrived([this](const QString& path) { arrived << path; });
        for (const QString& path : paths + paths) thumbnails.request(path);
        ASSERT_TRUE(QTest::qWaitFor([&] {
            return QSet<QString>(arrived.begin(), arrived.end()).contains({paths.begin(), paths.end()});
        }));
    }

    psd::test::ScratchDir dir;
    QStringList arrived;
};

TEST_F(DocumentThumbnailsTest, PicturesAreScaledToAtMost160PixelsAndTheOldFormHasRedAndBlueSwapped) {
    std::vector<std::byte> broken = jpegOf({64, 64}, Qt::red);
    broken.resize(40);
    const struct {
        QString path;
        QSize shown; // empty: no picture, the tool tip shows its text alone
        QColor colour;
    } cases[] = {
        {document("wide.psd", 1036, jpegOf({320, 160}, Qt::red)), {160, 80}, Qt::red},
        {document("old.psd", 1033, jpegOf({100, 50}, Qt::blue)), {100, 50}, Qt::red},
        {document("none.psd", 1036, {}), {}, {}},
        {document("broken.psd", 1036, broken), {}, {}},
        {QString::fromStdString(dir.file("missing.psd")), {}, {}},
    };
    QtDocumentThumbnails thumbnails;
    QStringList paths;
    for (const auto& c : cases) paths << c.path;

    requestAll(thumbnails, paths);

    EXPECT_EQ(arrived.size(), paths.size()) << "each document is read once";
    for (const auto& c : cases) {
        const std::optional<DocumentPicture> picture = thumbnails.picture(c.path);
        const QImage image = picture ? QImage::fromData(picture->png, "PNG") : QImage();
        EXPECT_EQ(image.isNull() ? QSize() : image.size(), c.shown) << c.path.toStdString();
        if (image.isNull()) continue;
        EXPECT_EQ(QSize(picture->width, picture->height), c.shown);
        const QColor centre = image.pixelColor(image.width() / 2, image.height() / 2);
        EXPECT_LT(std::abs(centre.red() - c.colour.red()) + std::abs(centre.blue() - c.colour.blue()), 60)
            << c.path.toStdString();
    }
    for (const QString& path : paths) thumbnails.request(path); // kept, a picture or none
    QCoreApplication::processEvents();
    EXPECT_EQ(arrived.size(), paths.size());
}

TEST_F(DocumentThumbnailsTest, KeptPicturesAreBoundedTheLeastRecentlyAskedForGoesFirst) {
    const QString first = document("first.psd", 1036, jpegOf({160, 160}, Qt::red));
    const QString second = document("second.psd", 1036, jpegOf({160, 160}, Qt::blue));
    QtDocumentThumbnails thumbnails(QtDocumentThumbnails::readPicture(first).value().png.size() * 3 / 2);

    requestAll(thumbnails, {first});
    requestAll(thumbnails, {second});
    EXPECT_TRUE(thumbnails.picture(second));
    EXPECT_FALSE(thumbnails.picture(first));
    requestAll(thumbnails, {first}); // read again when asked for again
    EXPECT_TRUE(thumbnails.picture(first));
}

TEST_F(DocumentThumbnailsTest, GoingAwayDuringADecodeDeliversNothingAfterwards) {
    QImage noise(2000, 2000, QImage::Format_RGB32); // slow to decode: still going on when it goes
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x) noise.setPixel(x, y, static_cast<QRgb>(x * 7919u ^ y * 104729u));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    noise.save(&buffer, "JPG", 100);
    const auto* data = reinterpret_cast<const std::byte*>(bytes.constData());
    const QString path = document("noise.psd", 1036, {data, data + bytes.size()});
    {
        QtDocumentThumbnails thumbnails;
        thumbnails.setArrived([this](const QString& arrivedPath) { arrived << arrivedPath; });
        thumbnails.request(path);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    QTest::qWait(300); // nothing is posted, or delivered, for thumbnails that went
    EXPECT_TRUE(arrived.isEmpty());
}

} // namespace
} // namespace hv
