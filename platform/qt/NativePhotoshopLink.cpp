#include "NativePhotoshopLink.h"

#include "DocumentDetails.h"
#include "platform/PathBytes.h"

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

    std::int32_t layerCount() override {
        requireOpen();
        return static_cast<std::int32_t>(details_.itemCount());
    }

    QString layerName(std::int32_t index) override { return details_.itemName(item(index)); }

    std::optional<QStringView> layerNameView(std::int32_t index) override { return details_.itemNameView(item(index)); }

    DocumentFacts documentFacts() override { return closed_ ? DocumentFacts{} : details_.documentFacts(); }

    LayerFacts layerFacts(std::int32_t index) override {
        if (closed_ || index < 1) return {};
        return details_.layerFacts(static_cast<std::size_t>(index) - 1);
    }

    // The item of layer `index` of the open document.
    std::size_t item(std::int32_t index) const {
        requireOpen();
        if (index < 1 || static_cast<std::size_t>(index) > details_.itemCount()) {
            throw Failure(QStringLiteral("Layer index %1 is out of range: \"%2\" has %3 layer items.")
                              .arg(index)
                              .arg(path_)
                              .arg(details_.itemCount()));
        }
        return static_cast<std::size_t>(index) - 1;
    }

    void showToUser() override {
        requireOpen();
        if (!shell_.openDocument(path_)) {
            throw Failure(
                QStringLiteral("The desktop has no application other than this program to open \"%1\"").arg(path_));
        }
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
    return pathBytes(path).toStdString();
}

class NativeApplication final : public PhotoshopApplication {
public:
    NativeApplication(DesktopShell& shell, psd::ReadAheadPolicy readAhead, psd::ReadAhead::Reader reader,
                      psd::ReadAhead::MeteredReader metered)
        : shell_(shell),
          readAhead_(readAhead),
          reader_(std::move(reader)),
          metered_(std::move(metered)) {}

    void expect(const QStringList& paths) override {
        if (quit_) return;
        if (!pool_) {
            pool_ = metered_  ? std::make_unique<psd::ReadAhead>(readAhead_, metered_)
                    : reader_ ? std::make_unique<psd::ReadAhead>(readAhead_, reader_)
                              : std::make_unique<psd::ReadAhead>(readAhead_);
        }
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
        psd::ReadResult result = pool_ ? pool_->take(file) : readHere(file);
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
    const psd::ReadAheadPolicy readAhead_;
    psd::ReadResult readHere(const std::string& file) const {
        psd::Unmetered unmetered;
        if (metered_) return metered_(file, unmetered);
        return reader_ ? reader_(file) : psd::readLayerItems(file);
    }

    const psd::ReadAhead::Reader reader_;
    const psd::ReadAhead::MeteredReader metered_;
    std::unique_ptr<psd::ReadAhead> pool_; // from the first announcement on
    bool quit_ = false;
};

} // namespace

NativePhotoshopLink::NativePhotoshopLink(DesktopShell& shell, psd::ReadAheadPolicy readAhead,
                                         psd::ReadAhead::Reader reader)
    : shell_(shell),
      readAhead_(readAhead),
      reader_(std::move(reader)) {}

NativePhotoshopLink::NativePhotoshopLink(DesktopShell& shell, std::size_t readAhead, psd::ReadAhead::Reader reader)
    : NativePhotoshopLink(shell, psd::ReadAheadPolicy{readAhead}, std::move(reader)) {}

NativePhotoshopLink::NativePhotoshopLink(DesktopShell& shell, psd::ReadAheadPolicy readAhead,
                                         psd::ReadAhead::MeteredReader reader)
    : shell_(shell),
      readAhead_(readAhead),
      metered_(std::move(reader)) {}

std::unique_ptr<PhotoshopApplication> NativePhotoshopLink::create() {
    return std::make_unique<NativeApplication>(shell_, readAhead_, reader_, metered_);
}

} // namespace hv
