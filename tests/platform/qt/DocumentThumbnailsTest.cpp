// The documents' preview pictures, read on the worker thread and kept.

#include "psd/TestDocuments.h"

#include "platform/PathBytes.h"
#include "platform/qt/QtDocumentThumbnails.h"
#include "psd/testing/CraftedJpeg.h"
#include "psd/testing/PsdWriter.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QSet>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <future>
#include <map>
#include <mutex>
#include <thread>

namespace hv {
namespace {

std::vector<std::byte> jpegOf(QSize size, QColor colour, bool progressive = false) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    const auto* data = reinterpret_cast<const std::byte*>(bytes.constData());
    return {data, data + bytes.size()};
}

// The most this process has held in memory so far, in bytes.
qint64 peakResident() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
    return -1;
}

class DocumentThumbnailsTest : public ::testing::Test {
protected:
    // A document whose thumbnail resource `id` holds `jpeg` and states its
    // size as `stated`, or else as the JPEG's own; none when empty.
    QString document(const char* name, std::uint16_t id, const std::vector<std::byte>& jpeg, QSize stated = {}) {
        psd::testing::PsdWriter writer;
        if (stated.isEmpty()) {
            QBuffer buffer;
            buffer.setData(QByteArray(reinterpret_cast<const char*>(jpeg.data()), static_cast<qsizetype>(jpeg.size())));
            stated = QImageReader(&buffer, "jpeg").size();
        }
        if (!jpeg.empty())
            writer.imageResources.push_back(psd::testing::thumbnailResource(
                id, jpeg, static_cast<std::uint32_t>(stated.width()), static_cast<std::uint32_t>(stated.height())));
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

// What a read gave is stored (not a failed read) and used by a later
// session without a read; a stored form that is not one of a picture within
// the size is read again.
TEST_F(DocumentThumbnailsTest, WhatAnEarlierSessionReadIsUsedUnlessItsFormIsDamaged) {
    const QString wide = document("wide.psd", 1036, jpegOf({320, 160}, Qt::red));
    const QString none = document("none.psd", 1036, {});
    const QString missing = QString::fromStdString(dir.file("missing.psd"));
    struct Store {
        std::mutex mutex;
        std::map<QString, QByteArray> forms;
        int reads = 0;
    };
    auto store = std::make_shared<Store>();
    const auto session = [&](const QStringList& paths) {
        QtDocumentThumbnails thumbnails(1 << 20,
                                        [store](const QString& path) {
                                            const std::lock_guard lock(store->mutex);
                                            ++store->reads;
                                            return QtDocumentThumbnails::readThumbnail(path);
                                        },
                                        {[store](const QString& path) -> std::optional<QByteArray> {
                                             const std::lock_guard lock(store->mutex);
                                             const auto form = store->forms.find(path);
                                             return form == store->forms.end() ? std::nullopt
                                                                               : std::optional(form->second);
                                         },
                                         [store](const QString& path, const QByteArray& form) {
                                             const std::lock_guard lock(store->mutex);
                                             store->forms[path] = form;
                                         }});
        requestAll(thumbnails, paths);
        return std::pair(thumbnails.picture(wide), thumbnails.picture(none));
    };
    const auto [read, readNone] = session({wide, none, missing});
    ASSERT_TRUE(read);
    EXPECT_FALSE(readNone);
    EXPECT_EQ(store->forms.size(), 2u); // not the document that could not be read
    const QByteArray stored = store->forms[wide];
    const struct {
        const char* form;
        QByteArray bytes;
        int reads; // of the wide document
    } rows[] = {
        {"as stored", stored, 0},
        {"not a form", "P\x01", 1},
        {"sizes other than the picture's", QByteArray("P\x00\xa0\x00\xa0", 5) + stored.mid(5), 1},
        {"larger than a picture", QByteArray("P\x07\xd0\x07\xd0", 5) + stored.mid(5), 1},
    };
    for (const auto& row : rows) {
        store->forms[wide] = row.bytes;
        store->reads = 0;
        const auto [picture, nonePicture] = session({wide, none});
        EXPECT_EQ(store->reads, row.reads) << row.form;
        ASSERT_TRUE(picture) << row.form;
        EXPECT_EQ(picture->png, read->png) << row.form;
        EXPECT_EQ(QSize(picture->width, picture->height), QSize(read->width, read->height)) << row.form;
        EXPECT_FALSE(nonePicture) << row.form;
        EXPECT_EQ(store->forms[wide], stored) << row.form;
    }
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

TEST_F(DocumentThumbnailsTest, JpegsBeyondAThumbnailAreRefusedBeforeTheDecoderAllocatesForThem) {
    using psd::testing::withFrameSize;
    const std::vector<std::byte> progressive = jpegOf({64, 48}, Qt::red, true);
    const struct {
        QString path;
        bool shown;
    } cases[] = {
        {document("progressive.psd", 1036, progressive), true},
        {document("huge.psd", 1036, withFrameSize(progressive, 16000, 16000), {16000, 16000}), false},
        {document("widest.psd", 1036, withFrameSize(progressive, 65500, 32000), {65500, 32000}), false},
        {document("scans.psd", 1036, psd::testing::withLastScanRepeated(progressive, 2000)), false},
        {document("misstated.psd", 1036, withFrameSize(progressive, 640, 480), {64, 48}), false},
    };
    const qint64 before = peakResident();
    for (const auto& c : cases)
        EXPECT_EQ(QtDocumentThumbnails::readPicture(c.path).has_value(), c.shown) << c.path.toStdString();
    // Decoded, the first bomb alone takes 750 MB.
    EXPECT_LT(peakResident() - before, 64 * 1024 * 1024);
}

TEST_F(DocumentThumbnailsTest, GoingAwayDoesNotWaitForTheReadInProgress) {
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<bool> started = false;
    std::atomic<bool> finished = false;
    {
        QtDocumentThumbnails thumbnails(1024, [&, released](const QString&) {
            started = true;
            released.wait();
            finished = true;
            return psd::ThumbnailResult();
        });
        thumbnails.request(QStringLiteral("stuck.psd"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return started.load(); }));
    } // waiting here for the read would never end
    EXPECT_FALSE(finished);
    release.set_value();
    EXPECT_TRUE(QTest::qWaitFor([&] { return finished.load(); }));
}

TEST_F(DocumentThumbnailsTest, ANameThatIsNotUtf8ShowsItsPicture) {
    psd::testing::PsdWriter writer;
    writer.imageResources.push_back(psd::testing::thumbnailResource(1036, jpegOf({32, 32}, Qt::red), 32, 32));
    const std::string bytes = dir.file("caf\xe9.psd");
    writer.writeFile(bytes);
    EXPECT_TRUE(QtDocumentThumbnails::readPicture(pathText(bytes)).has_value());
}

TEST_F(DocumentThumbnailsTest, GoingAwayDuringADecodeDeliversNothingAfterwards) {
    QImage noise(600, 600, QImage::Format_RGB32); // slow to decode: still going on when it goes
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x) noise.setPixel(x, y, static_cast<QRgb>(x * 7919u ^ y * 104729u));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    noise.save(&buffer, "JPG", 100);
    const auto* data = reinterpret_cast<const std::byte*>(bytes.constData());
    const QString path = document("noise.psd", 1036, {data, data + bytes.size()});
    ASSERT_TRUE(QtDocumentThumbnails::readPicture(path)); // within the thumbnail budget: it is decoded
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
