#pragma once

#include "platform/DocumentThumbnails.h"

#include <QCache>
#include <QSet>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
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
class QtDocumentThumbnails final : public DocumentThumbnails {
public:
    explicit QtDocumentThumbnails(qsizetype keptBytes = 32 * 1024 * 1024);
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
    bool startWorker();
    void work();
    void collect();

    // The window's thread only.
    QCache<QString, Kept> kept_;
    QSet<QString> pending_; // requested and not collected yet
    std::function<void(const QString&)> arrived_;
    int wakeFd_ = -1; // the worker wakes the window's thread through it
    std::unique_ptr<QSocketNotifier> wakeNotifier_;

    // Shared with the worker, under mutex_.
    std::mutex mutex_;
    std::condition_variable workAdded_;
    std::deque<QString> waiting_;
    std::vector<Read> done_;
    bool stopping_ = false;

    std::thread worker_;
};

} // namespace hv
