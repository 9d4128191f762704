#include "NativePhotoshopLink.h"

#include "DocumentDetails.h"

#include "cache/CachedReader.h"
#include "platform/Failure.h"

#include "psd/LayerReader.h"

#include <QFile>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

namespace hv {

namespace {

class NativeDocument final : public PhotoshopDocument {
public:
    NativeDocument(DesktopShell& shell, QString path, DocumentDetails details)
        : shell_(shell),
          path_(std::move(path)),
          details_(std::move(details)) {}

    ~NativeDocument() override {
        if (closed_) return;
        try {
            shell_.openDocument(path_);
        } catch (...) {
            // Showing the document is a courtesy; a release must not fail.
        }
    }

    std::int32_t layerCount() override {
        requireOpen();
        return static_cast<std::int32_t>(details_.itemCount());
    }

    QString layerName(std::int32_t index) override {
        requireOpen();
        if (index < 1 || static_cast<std::size_t>(index) > details_.itemCount()) {
            throw Failure(QStringLiteral("Layer index %1 is out of range: \"%2\" has %3 layer items.")
                              .arg(index)
                              .arg(path_)
                              .arg(details_.itemCount()));
        }
        return details_.itemName(static_cast<std::size_t>(index) - 1);
    }

    DocumentFacts documentFacts() override { return closed_ ? DocumentFacts{} : details_.documentFacts(); }

    LayerFacts layerFacts(std::int32_t index) override {
        if (closed_ || index < 1) return {};
        return details_.layerFacts(static_cast<std::size_t>(index) - 1);
    }

    void close() override {
        requireOpen();
        closed_ = true;
    }

private:
    void requireOpen() const {
        if (closed_) throw Failure(QStringLiteral("The document \"%1\" has already been closed.").arg(path_));
    }

    DesktopShell& shell_;
    QString path_;
    DocumentDetails details_;
    bool closed_ = false;
};

std::string fileNameOf(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

class NativeApplication final : public PhotoshopApplication {
public:
    NativeApplication(DesktopShell& shell, std::size_t readAhead, psd::ReadAhead::Reader reader)
        : shell_(shell),
          readAhead_(readAhead),
          reader_(std::move(reader)) {}

    void expect(const QStringList& paths) override {
        if (quit_) return;
        if (!pool_) pool_ = std::make_unique<psd::ReadAhead>(readAhead_, reader_);
        std::vector<std::string> files;
        files.reserve(static_cast<std::size_t>(paths.size()));
        for (const QString& path : paths) files.push_back(fileNameOf(path));
        pool_->announce(std::move(files));
    }

    bool waitUntilReady(const QString& path, int milliseconds) override {
        if (!pool_) return true;
        return pool_->waitReady(fileNameOf(path), std::chrono::milliseconds(std::max(milliseconds, 0)));
    }

    std::unique_ptr<PhotoshopDocument> open(const QString& path) override {
        if (quit_) throw Failure(QStringLiteral("Cannot open \"%1\": the document reader has already quit.").arg(path));
        const std::string file = fileNameOf(path);
        psd::ReadResult result = pool_ ? pool_->take(file) : reader_(file);
        if (!result.ok()) {
            throw Failure(
                QStringLiteral("Cannot open \"%1\": %2").arg(path, QString::fromStdString(result.error().message)));
        }
        return std::make_unique<NativeDocument>(shell_, path, DocumentDetails(std::move(result).takeDocument()));
    }

    void quit() override {
        quit_ = true;
        pool_.reset(); // returns at once; reads still running end unheeded
    }

private:
    DesktopShell& shell_;
    const std::size_t readAhead_;
    const psd::ReadAhead::Reader reader_;
    std::unique_ptr<psd::ReadAhead> pool_; // from the first announcement on
    bool quit_ = false;
};

} // namespace

NativePhotoshopLink::NativePhotoshopLink(DesktopShell& shell)
    : NativePhotoshopLink(shell, readAheadFromEnvironment(),
                          cache::withUserCache(psd::ReadAhead::layerReader(), "halvorine")) {}

NativePhotoshopLink::NativePhotoshopLink(DesktopShell& shell, std::size_t readAhead, psd::ReadAhead::Reader reader)
    : shell_(shell),
      readAhead_(std::clamp<std::size_t>(readAhead, 1, psd::ReadAhead::maxReadsInFlight)),
      reader_(std::move(reader)) {}

std::unique_ptr<PhotoshopApplication> NativePhotoshopLink::create() {
    return std::make_unique<NativeApplication>(shell_, readAhead_, reader_);
}

std::size_t NativePhotoshopLink::readAheadFromEnvironment() {
    bool ok = false;
    const qulonglong value = qEnvironmentVariable("HALVORINE_READ_AHEAD").trimmed().toULongLong(&ok);
    if (!ok || value < 1) return defaultReadAhead;
    return static_cast<std::size_t>(std::min<qulonglong>(value, psd::ReadAhead::maxReadsInFlight));
}

} // namespace hv
