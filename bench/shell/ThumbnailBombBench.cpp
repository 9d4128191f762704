// Peak memory and time of reading a document's preview picture the way the
// window's thumbnail worker does (QtDocumentThumbnails::readPicture), for
// documents of under a few kilobytes whose thumbnail JPEG claims far more
// than a thumbnail: each read runs in a child process of its own, whose
// peak resident size is the figure.
//
//   bench_thumbnail_bomb [--huge] [--write FOLDER]
//
// --huge adds a 65,500 x 32,000 claim (several gigabytes where it is
// decoded); --write keeps the documents in FOLDER, to hover them in the
// real window (e.g. under `/usr/bin/time -v halvorine FOLDER`).
#include "platform/qt/QtDocumentThumbnails.h"
#include "psd/testing/CraftedJpeg.h"
#include "psd/testing/PsdWriter.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace hv;

// A progressive JPEG of `side` x `side` pixels of noise.
std::vector<std::byte> progressiveJpeg(int side) {
    QImage image(side, side, QImage::Format_RGB32);
    std::uint32_t seed = 7;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) image.setPixel(x, y, seed = seed * 1664525u + 1013904223u);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(true);
    writer.write(image);
    const auto* data = reinterpret_cast<const std::byte*>(bytes.constData());
    return {data, data + bytes.size()};
}

struct Bomb {
    const char* name;
    std::vector<std::byte> jpeg;
    std::uint32_t width; // as the resource states it
    std::uint32_t height;
};

std::vector<Bomb> bombs(bool huge) {
    const std::vector<std::byte> small = progressiveJpeg(64);
    std::vector<Bomb> out = {
        {"photoshop-sized-160", progressiveJpeg(160), 160, 160},
        {"largest-decoded-1024", progressiveJpeg(1024), 1024, 1024},
        {"progressive-16000", psd::testing::withFrameSize(small, 16000, 16000), 16000, 16000},
        {"progressive-24000", psd::testing::withFrameSize(small, 24000, 24000), 24000, 24000},
        {"scans-2000-of-4000",
         psd::testing::withLastScanRepeated(psd::testing::withFrameSize(progressiveJpeg(8), 4000, 4000), 2000), 4000,
         4000},
    };
    if (huge)
        out.push_back({"progressive-65500x32000", psd::testing::withFrameSize(small, 65500, 32000), 65500, 32000});
    return out;
}

QString writeDocument(const QString& folder, const Bomb& bomb) {
    psd::testing::PsdWriter writer;
    writer.imageResources.push_back(psd::testing::thumbnailResource(1036, bomb.jpeg, bomb.width, bomb.height));
    writer.layer(u"Layer");
    const QString path = QDir(folder).filePath(QString::fromLatin1(bomb.name) + QStringLiteral(".psd"));
    writer.writeFile(QFile::encodeName(path).toStdString());
    return path;
}

// Reads the picture in a child; prints its peak resident size and time.
void measure(const QString& path, const char* name) {
    QElapsedTimer clock;
    clock.start();
    const pid_t child = ::fork();
    if (child == 0) _exit(QtDocumentThumbnails::readPicture(path) ? 0 : 1);
    int status = 0;
    rusage usage{};
    if (child < 0 || ::wait4(child, &status, 0, &usage) != child) {
        std::printf("%-26s cannot start a child\n", name);
        return;
    }
    const char* shown = !WIFEXITED(status) ? "child failed" : WEXITSTATUS(status) == 0 ? "picture" : "none";
    std::printf("%-26s %9lld bytes  %-12s peak %7.1f MB  %6.2f s\n", name, static_cast<long long>(QFile(path).size()),
                shown, static_cast<double>(usage.ru_maxrss) / 1024.0, static_cast<double>(clock.elapsed()) / 1000.0);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    QTemporaryDir scratch;
    const qsizetype writeAt = args.indexOf(QStringLiteral("--write"));
    const QString folder = writeAt > 0 && writeAt + 1 < args.size() ? args[writeAt + 1] : scratch.path();
    QDir().mkpath(folder);
    for (const Bomb& bomb : bombs(args.contains(QStringLiteral("--huge"))))
        measure(writeDocument(folder, bomb), bomb.name);
    return 0;
}
