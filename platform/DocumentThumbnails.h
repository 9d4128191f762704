#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

namespace hv {

// A document's preview picture, ready to show: PNG data of at most
// 160 by 160 pixels.
struct DocumentPicture {
    QByteArray png;
    int width = 0;
    int height = 0;
};

// The preview pictures of documents, read away from the window's thread and
// kept for the session. Every member is called on the window's thread and
// none of them waits for a read; arrivals are told on that thread too.
class DocumentThumbnails {
public:
    virtual ~DocumentThumbnails() = default;
    // Starts reading the picture of the document at `path`, unless it is
    // kept or being read already.
    virtual void request(const QString& path) = 0;
    // The kept picture of `path`; empty before it has arrived, and for a
    // document that has none or whose picture cannot be read.
    virtual std::optional<DocumentPicture> picture(const QString& path) const = 0;
    // `arrived` runs each time the read of a requested document has ended,
    // whether it gave a picture or not. An empty function stops the telling.
    virtual void setArrived(std::function<void(const QString& path)> arrived) = 0;
};

} // namespace hv
