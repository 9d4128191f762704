#pragma once

#include "platform/DocumentThumbnails.h"

#include "psd/Thumbnail.h"
#include "workers/WorkerPool.h"

#include <QCache>
#include <QObject>
#include <QSet>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace hv {

// The documents' preview pictures on Linux. A worker pool of one thread reads a document's thumbnail resource with the
// layer reader, decodes its JPEG (swapping red and blue for the old form), scales it to at most 160 pixels and encodes
// it as PNG. The newest request is read first, and the oldest of too many waiting ones is dropped: after a sweep of the
// pointer over many rows, the row under it comes next.
//
// What a read gave, a picture or none, is kept per path for the session, up
// to `keptBytes` of pictures; the least recently asked-for goes first.
//
// Finished reads wait in the state shared with the worker until the window's
// thread collects them: the worker posts that thread one queued call when the
// first of them is ready. Destruction never waits for a read in progress,
// only for the decoding of a picture already read.
class QtDocumentThumbnails final : public DocumentThumbnails {
public:
    // What the worker runs to read a document's thumbnail; a test may hold
    // it up.
    using ThumbnailReader = std::function<psd::ThumbnailResult(const QString& path)>;
    static psd::ThumbnailResult readThumbnail(const QString& path);

    // Where what a read gave is kept from one session to the next (the
    // layer cache), as a form of this class's: `find` before a document is
    // read, `keep` after a read that did not fail. Called on the worker; a
    // form that is not one of a picture within the size here is not used.
    struct StoredPictures {
        std::function<std::optional<QByteArray>(const QString& path)> find;
        std::function<void(const QString& path, const QByteArray& form)> keep;
    };

    static constexpr qsizetype defaultKeptBytes = 32 * 1024 * 1024;
    explicit QtDocumentThumbnails(qsizetype keptBytes = defaultKeptBytes, ThumbnailReader read = readThumbnail,
                                  StoredPictures stored = {});
    ~QtDocumentThumbnails() override;
    QtDocumentThumbnails(const QtDocumentThumbnails&) = delete;
    QtDocumentThumbnails& operator=(const QtDocumentThumbnails&) = delete;

    void request(const QString& path) override;
    std::optional<DocumentPicture> picture(const QString& path) const override;
    void setArrived(std::function<void(const QString& path)> arrived) override;

    // The picture of the document at `path`, read as the worker reads it,
    // on the calling thread; empty when it has none or it cannot be read.
    static std::optional<DocumentPicture> readPicture(const QString& path);

private:
    struct Read {
        QString path;
        std::optional<DocumentPicture> picture;
    };
    struct Kept {
        std::optional<DocumentPicture> picture;
    };
    // What the worker shares with the window's thread, under `mutex`.
    struct Shared {
        std::mutex mutex;
        std::deque<QString> waiting;
        std::vector<Read> done;
        std::condition_variable decodeEnded;
        bool reading = false;                  // a pool job is queued or reads the waiting paths
        bool decoding = false;                 // the job runs Qt's image code
        QtDocumentThumbnails* owner = nullptr; // null once the owner goes
        ThumbnailReader read;                  // set before the first job
        StoredPictures stored;                 // the same
    };
    static void readWaiting(const std::shared_ptr<Shared>& shared);
    template <class Work>
    static bool decodeWhileOwned(Shared& shared, std::unique_lock<std::mutex>& lock, Work&& work);
    void collect();

    // The window's thread only.
    QCache<QString, Kept> kept_;
    QSet<QString> pending_; // requested and not collected yet
    std::function<void(const QString&)> arrived_;
    QObject collector_; // the worker's queued calls run on it

    const std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
    WorkerPool pool_{1};
};

} // namespace hv
