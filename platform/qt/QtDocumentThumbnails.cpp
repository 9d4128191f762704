#include "QtDocumentThumbnails.h"

#include "platform/PathBytes.h"
#include "psd/Thumbnail.h"
#include "psd/ThumbnailBudget.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>

#include <algorithm>

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

// The thumbnail decoded, scaled and encoded as PNG; empty when it cannot be.
std::optional<DocumentPicture> pictureOf(const psd::Thumbnail& thumbnail) {
    const QImage image = decoded(thumbnail);
    if (image.isNull()) return std::nullopt;
    DocumentPicture picture{{}, image.width(), image.height()};
    QBuffer buffer(&picture.png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return std::nullopt;
    return picture;
}

// The stored form of what a read gave: "-" for no picture, else "P", the
// width and height as two bytes each, and the PNG.
QByteArray storedForm(const std::optional<DocumentPicture>& picture) {
    if (!picture) return QByteArrayLiteral("-");
    QByteArray form("P");
    for (const int side : {picture->width, picture->height}) {
        form.append(static_cast<char>(side >> 8));
        form.append(static_cast<char>(side & 0xFF));
    }
    return form + picture->png;
}

// What a stored form gives: nothing when it is none of the two forms, or
// its PNG is larger than a picture of this class (its header is checked,
// nothing is decoded).
std::optional<std::optional<DocumentPicture>> pictureOfForm(const QByteArray& form) {
    if (form == "-") return std::optional<DocumentPicture>();
    constexpr qsizetype kMostPngBytes = 4 * kLongestSide * kLongestSide + 4096;
    if (form.size() < 5 || form.size() > 5 + kMostPngBytes || form[0] != 'P') return std::nullopt;
    const auto byte = [&](int at) { return static_cast<int>(static_cast<unsigned char>(form[at])); };
    DocumentPicture picture{form.mid(5), byte(1) << 8 | byte(2), byte(3) << 8 | byte(4)};
    QBuffer buffer(&picture.png);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    if (picture.width < 1 || picture.height < 1 || picture.width > kLongestSide || picture.height > kLongestSide
        || reader.size() != QSize(picture.width, picture.height))
        return std::nullopt;
    return std::optional<DocumentPicture>(std::move(picture));
}

} // namespace

QtDocumentThumbnails::QtDocumentThumbnails(qsizetype keptBytes, ThumbnailReader read, StoredPictures stored)
    : kept_(std::max<qsizetype>(keptBytes, 1)) {
    shared_->owner = this;
    shared_->read = std::move(read);
    shared_->stored = std::move(stored);
}

QtDocumentThumbnails::~QtDocumentThumbnails() {
    // A read in progress ends unheeded; a decode in progress (Qt's image
    // code, never the file) is waited for, so that the program never ends
    // under it. A call the worker posted goes with collector_.
    std::unique_lock lock(shared_->mutex);
    shared_->owner = nullptr;
    shared_->waiting.clear();
    shared_->decodeEnded.wait(lock, [&] { return !shared_->decoding; });
}

psd::ThumbnailResult QtDocumentThumbnails::readThumbnail(const QString& path) {
    return psd::readThumbnail(pathBytes(path).toStdString());
}

std::optional<DocumentPicture> QtDocumentThumbnails::readPicture(const QString& path) {
    const psd::ThumbnailResult result = readThumbnail(path);
    if (!result.found()) return std::nullopt;
    return pictureOf(result.thumbnail());
}

void QtDocumentThumbnails::request(const QString& path) {
    if (kept_.contains(path) || pending_.contains(path)) return;
    const std::lock_guard lock(shared_->mutex);
    if (!shared_->reading && !pool_.submit([shared = shared_] { readWaiting(shared); })) return; // tool tips' text only
    shared_->reading = true;
    pending_.insert(path);
    shared_->waiting.push_back(path);
    while (shared_->waiting.size() > kMostWaiting) {
        pending_.remove(shared_->waiting.front());
        shared_->waiting.pop_front();
    }
}

std::optional<DocumentPicture> QtDocumentThumbnails::picture(const QString& path) const {
    const Kept* kept = kept_.object(path);
    return kept ? kept->picture : std::nullopt;
}

void QtDocumentThumbnails::setArrived(std::function<void(const QString&)> arrived) {
    arrived_ = std::move(arrived);
}

// Runs `work` (Qt's image code) with the decoding flag up, so that the
// owner's destruction waits for it; false, without running it, once the
// owner has gone. Called and returns with the lock held.
template <class Work>
bool QtDocumentThumbnails::decodeWhileOwned(Shared& shared, std::unique_lock<std::mutex>& lock, Work&& work) {
    if (!shared.owner) return false;
    shared.decoding = true;
    lock.unlock();
    try {
        work();
    } catch (...) {
    }
    lock.lock();
    shared.decoding = false;
    shared.decodeEnded.notify_all();
    return shared.owner != nullptr;
}

// The pool job: reads the newest waiting path until none is left; what was
// stored of it in an earlier session first. A failed read (out of memory
// too) gives no picture and is not stored.
void QtDocumentThumbnails::readWaiting(const std::shared_ptr<Shared>& shared) {
    std::unique_lock lock(shared->mutex);
    while (!shared->waiting.empty()) {
        Read read{std::move(shared->waiting.back()), std::nullopt};
        shared->waiting.pop_back();
        lock.unlock();
        std::optional<QByteArray> form;
        try {
            if (shared->stored.find) form = shared->stored.find(read.path);
        } catch (...) {
        }
        lock.lock();
        std::optional<std::optional<DocumentPicture>> known;
        if (form && !decodeWhileOwned(*shared, lock, [&] { known = pictureOfForm(*form); })) break;
        if (known) {
            read.picture = std::move(*known);
        } else {
            lock.unlock();
            std::optional<psd::ThumbnailResult> result;
            try {
                result = shared->read(read.path);
            } catch (...) {
            }
            lock.lock();
            const auto decode = [&] {
                if (result && result->found()) read.picture = pictureOf(result->thumbnail());
            };
            if (!decodeWhileOwned(*shared, lock, decode)) break;
            if (result && !result->failed() && shared->stored.keep) {
                lock.unlock();
                try {
                    shared->stored.keep(read.path, storedForm(read.picture));
                } catch (...) {
                }
                lock.lock();
            }
        }
        if (!shared->owner) break;
        shared->done.push_back(std::move(read));
        if (shared->done.size() == 1) {
            QtDocumentThumbnails* owner = shared->owner;
            QMetaObject::invokeMethod(
                &owner->collector_, [owner] { owner->collect(); }, Qt::QueuedConnection);
        }
    }
    shared->reading = false;
}

void QtDocumentThumbnails::collect() {
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
