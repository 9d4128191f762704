#pragma once

#include "platform/DocumentThumbnails.h"

#include <QCache>
#include <QSet>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class QSocketNotifier;

namespace hv {

// The documents' preview pictures on Linux. One worker thread, started by
// the first request, reads a document's thumbnail resource with the layer
// reader, decodes its JPEG (swapping red and blue for the old form), scales
// it to at most 160 pixels and encodes it as PNG. The newest request is read
// first, and the oldest of too many waiting ones is dropped: after a sweep
// of the pointer over many rows, the row under it comes next.
//
// What a read gave, a picture or none, is kept per path for the session, up
// to `keptBytes` of pictures; the least recently asked-for goes first.
//
// The worker is detached and keeps what it shares alive: going away waits
// for no read or decode in progress, which ends unseen.
class QtDocumentThumbnails final : public DocumentThumbnails {
public:
    using PictureReader = std::function<std::optional<DocumentPicture>(const QString& path)>;

    // `read` is what the worker runs for a path; readPicture but in tests.
    explicit QtDocumentThumbnails(qsizetype keptBytes = 32 * 1024 * 1024, PictureReader read = readPicture);
    ~QtDocumentThumbnails() override;
    QtDocumentThumbnails(const QtDocumentThumbnails&) = delete;
    QtDocumentThumbnails& operator=(const QtDocumentThumbnails&) = delete;

    void request(const QString& path) override;
    std::optional<DocumentPicture> picture(const QString& path) const override;
    void setArrived(std::function<void(const QString& path)> arrived) override;

    // The picture of the document at `path`, read as the worker reads it,
    // on the calling thread; empty when it has none, it cannot be read, or
    // its JPEG is beyond a thumbnail's decoding budget (psd/ThumbnailBudget.h).
    static std::optional<DocumentPicture> readPicture(const QString& path);

private:
    struct Read {
        QString path;
        std::optional<DocumentPicture> picture;
    };
    struct Kept {
        std::optional<DocumentPicture> picture;
    };
    // Shared with the worker, under `mutex`; the last owner closes wakeFd.
    struct Shared {
        Shared() = default;
        Shared(const Shared&) = delete;
        Shared& operator=(const Shared&) = delete;
        ~Shared();

        std::mutex mutex;
        std::condition_variable workAdded;
        std::deque<QString> waiting;
        std::vector<Read> done;
        bool stopping = false;
        int wakeFd = -1; // the worker wakes the window's thread through it
    };
    bool startWorker();
    static void work(const std::shared_ptr<Shared>& shared, const PictureReader& read);
    void collect();

    // The window's thread only.
    QCache<QString, Kept> kept_;
    QSet<QString> pending_; // requested and not collected yet
    std::function<void(const QString&)> arrived_;
    std::unique_ptr<QSocketNotifier> wakeNotifier_;
    PictureReader read_;
    bool started_ = false;

    std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
};

} // namespace hv
