#pragma once

#include "platform/DocumentFacts.h"

#include <QString>
#include <QStringList>

#include <QStringView>

#include <cstdint>
#include <memory>
#include <optional>

namespace hv {

// The document link: every operation the program uses to read a layered
// document. Each operation throws hv::Failure when it cannot be carried out.

class PhotoshopDocument {
public:
    virtual ~PhotoshopDocument() = default;
    // Number of items of the document's layer collection.
    virtual std::int32_t layerCount() = 0;
    // Name of item `index`, counted from 1 (the topmost item).
    virtual QString layerName(std::int32_t index) = 0;
    // The same name as a view of the document's own text, valid until the
    // document is closed or released, for comparing without a copy; fails
    // as layerName() does. Nothing when the link keeps no such text.
    virtual std::optional<QStringView> layerNameView(std::int32_t /*index*/) { return std::nullopt; }
    // What the document tells of itself, and of item `index` beyond its
    // name. A link that cannot tell keeps these defaults, which say
    // "unknown"; neither is an operation the search depends on.
    virtual DocumentFacts documentFacts() { return {}; }
    virtual LayerFacts layerFacts(std::int32_t /*index*/) { return {}; }
    // Shows the document to the user in the application that edits it and
    // leaves it open there; throws when no application takes it.
    virtual void showToUser() = 0;
    // Closes the document without any question. Releasing a document, closed
    // or not, shows nothing.
    virtual void close() = 0;
};

class PhotoshopApplication {
public:
    virtual ~PhotoshopApplication() = default;
    // Announces the paths open() is going to be asked for, in that order, so
    // that an application able to read documents ahead can start on them.
    // Only a hint: open() takes any path, announced or not, and a later
    // announcement replaces an earlier one. Does nothing by default.
    virtual void expect(const QStringList& paths) { (void)paths; }
    // Waits at most `milliseconds` for open(path) to be able to return
    // without reading the document first; true when it can (always, by
    // default). A caller that waits in short slices and lets its events run
    // in between is never held up by a slow document.
    virtual bool waitUntilReady(const QString& path, int milliseconds) {
        (void)path;
        (void)milliseconds;
        return true;
    }
    // Opens the document at `path`, exactly as listed.
    virtual std::unique_ptr<PhotoshopDocument> open(const QString& path) = 0;
    virtual void quit() = 0;
};

class PhotoshopLink {
public:
    virtual ~PhotoshopLink() = default;
    // Creates the application object; throws when it cannot be had.
    virtual std::unique_ptr<PhotoshopApplication> create() = 0;
};

} // namespace hv
