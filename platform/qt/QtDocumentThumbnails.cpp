#include "QtDocumentThumbnails.h"

#include "platform/PathBytes.h"
#include "psd/Thumbnail.h"
#include "psd/ThumbnailBudget.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QSocketNotifier>

#include <algorithm>
#include <cstdint>
#include <system_error>
#include <thread>

#include <sys/eventfd.h>
#include <unistd.h>

namespace hv {

namespace {

constexpr int kLongestSide = 160;
// Requests waiting for the worker beyond these are dropped, oldest first.
constexpr std::size_t kMostWaiting = 16;
// What keeping a path costs besides its picture.
constexpr qsizetype kEntryBytes = 64;

QImage decoded(const psd::Thumbnail& thumbnail) {
    // The decoder allocates for the size the JPEG's frame claims and passes
    // over the picture once per scan: what it is given is checked first.
    if (!psd::decodeRefusal(thumbnail).empty()) return {};
    const QByteArray jpeg = QByteArray::fromRawData(reinterpret_cast<const char*>(thumbnail.jpeg.data()),
                                                    static_cast<qsizetype>(thumbnail.jpeg.size()));
    QBuffer buffer;
    buffer.setData(jpeg);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "jpeg");
    const QSize size = reader.size();
    if (size.isEmpty()) return {};
    // Decoding straight to the small size costs a fraction of the whole.
    if (size.width() > kLongestSide || size.height() > kLongestSide)
        reader.setScaledSize(size.scaled(kLongestSide, kLongestSide, Qt::KeepAspectRatio).expandedTo({1, 1}));
    QImage image = reader.read();
    if (image.isNull()) return {};
    if (image.width() > kLongestSide || image.height() > kLongestSide)
        image = image.scaled(kLongestSide, kLongestSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (thumbnail.swapRedAndBlue) image = std::move(image).rgbSwapped();
    return image;
}

} // namespace

QtDocumentThumbnails::QtDocumentThumbnails(qsizetype keptBytes, PictureReader read)
    : kept_(std::max<qsizetype>(keptBytes, 1)),
      read_(std::move(read)) {}

QtDocumentThumbnails::~QtDocumentThumbnails() {
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->stopping = true;
        shared_->waiting.clear();
    }
    shared_->workAdded.notify_all();
    // A read in progress is not waited for: the worker drops it when done.
    wakeNotifier_.reset();
}

QtDocumentThumbnails::Shared::~Shared() {
    if (wakeFd >= 0) ::close(wakeFd);
}

std::optional<DocumentPicture> QtDocumentThumbnails::readPicture(const QString& path) {
    const psd::ThumbnailResult result = psd::readThumbnail(pathBytes(path).toStdString());
    if (!result.found()) return std::nullopt;
    const QImage image = decoded(result.thumbnail());
    if (image.isNull()) return std::nullopt;
    DocumentPicture picture{{}, image.width(), image.height()};
    QBuffer buffer(&picture.png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return std::nullopt;
    return picture;
}

void QtDocumentThumbnails::request(const QString& path) {
    if (kept_.contains(path) || pending_.contains(path) || !startWorker()) return;
    pending_.insert(path);
    {
        const std::lock_guard lock(shared_->mutex);
        std::deque<QString>& waiting = shared_->waiting;
        waiting.push_back(path);
        while (waiting.size() > kMostWaiting) {
            pending_.remove(waiting.front());
            waiting.pop_front();
        }
    }
    shared_->workAdded.notify_one();
}

std::optional<DocumentPicture> QtDocumentThumbnails::picture(const QString& path) const {
    const Kept* kept = kept_.object(path);
    return kept ? kept->picture : std::nullopt;
}

void QtDocumentThumbnails::setArrived(std::function<void(const QString&)> arrived) {
    arrived_ = std::move(arrived);
}

bool QtDocumentThumbnails::startWorker() {
    if (started_) return true;
    int& wakeFd = shared_->wakeFd;
    if (wakeFd < 0) wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd < 0) return false;
    if (!wakeNotifier_) {
        wakeNotifier_ = std::make_unique<QSocketNotifier>(wakeFd, QSocketNotifier::Read);
        QObject::connect(wakeNotifier_.get(), &QSocketNotifier::activated, wakeNotifier_.get(), [this] { collect(); });
    }
    try {
        std::thread([shared = shared_, read = read_] { work(shared, read); }).detach();
    } catch (const std::system_error&) {
        return false; // no pictures, only the tool tips' text
    }
    started_ = true;
    return true;
}

void QtDocumentThumbnails::work(const std::shared_ptr<Shared>& shared, const PictureReader& read) {
    for (;;) {
        QString path;
        {
            std::unique_lock lock(shared->mutex);
            shared->workAdded.wait(lock, [&] { return shared->stopping || !shared->waiting.empty(); });
            if (shared->stopping) return;
            path = std::move(shared->waiting.back());
            shared->waiting.pop_back();
        }
        Read done{path, read(path)};
        {
            const std::lock_guard lock(shared->mutex);
            if (shared->stopping) return;
            shared->done.push_back(std::move(done));
        }
        const std::uint64_t one = 1;
        if (::write(shared->wakeFd, &one, sizeof one) < 0) {
            // The counter is full only when the window's thread has not run
            // for ages; it collects every finished read when it does.
        }
    }
}

void QtDocumentThumbnails::collect() {
    std::uint64_t wakes = 0;
    if (::read(shared_->wakeFd, &wakes, sizeof wakes) < 0) {
        // Nothing to take: a wake-up already collected.
    }
    std::vector<Read> done;
    {
        const std::lock_guard lock(shared_->mutex);
        done.swap(shared_->done);
    }
    for (Read& read : done) {
        pending_.remove(read.path);
        const qsizetype cost = kEntryBytes + (read.picture ? read.picture->png.size() : 0);
        kept_.insert(read.path, new Kept{std::move(read.picture)}, cost);
        if (arrived_) arrived_(read.path);
    }
}

} // namespace hv
