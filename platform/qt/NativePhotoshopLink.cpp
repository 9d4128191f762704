#include "NativePhotoshopLink.h"

#include "DocumentDetails.h"

#include "platform/Failure.h"

#include "psd/LayerReader.h"

#include <QFile>

#include <vector>

namespace hv {

namespace {

class NativeDocument final : public PhotoshopDocument {
public:
    NativeDocument(DesktopShell& shell, QString path, std::vector<QString> names, DocumentDetails details)
        : shell_(shell),
          path_(std::move(path)),
          names_(std::move(names)),
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
        return static_cast<std::int32_t>(names_.size());
    }

    QString layerName(std::int32_t index) override {
        requireOpen();
        if (index < 1 || static_cast<std::size_t>(index) > names_.size()) {
            throw Failure(QStringLiteral("Layer index %1 is out of range: \"%2\" has %3 layer items.")
                              .arg(index)
                              .arg(path_)
                              .arg(names_.size()));
        }
        return names_[static_cast<std::size_t>(index) - 1];
    }

    DocumentFacts documentFacts() override { return closed_ ? DocumentFacts{} : details_.documentFacts(); }

    LayerFacts layerFacts(std::int32_t index) override {
        if (closed_ || index < 1) return {};
        return details_.layerFacts(static_cast<std::size_t>(index) - 1, names_);
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
    std::vector<QString> names_;
    DocumentDetails details_;
    bool closed_ = false;
};

class NativeApplication final : public PhotoshopApplication {
public:
    explicit NativeApplication(DesktopShell& shell) : shell_(shell) {}

    std::unique_ptr<PhotoshopDocument> open(const QString& path) override {
        if (quit_) throw Failure(QStringLiteral("Cannot open \"%1\": the document reader has already quit.").arg(path));
        const psd::ReadResult result = psd::readLayerItems(QFile::encodeName(path).toStdString());
        if (!result.ok()) {
            throw Failure(
                QStringLiteral("Cannot open \"%1\": %2").arg(path, QString::fromStdString(result.error().message)));
        }
        std::vector<QString> names;
        names.reserve(result.document().items.size());
        for (const psd::LayerItem& item : result.document().items)
            names.push_back(QString::fromStdU16String(item.name));
        return std::make_unique<NativeDocument>(shell_, path, std::move(names), DocumentDetails(result.document()));
    }

    void quit() override { quit_ = true; }

private:
    DesktopShell& shell_;
    bool quit_ = false;
};

} // namespace

NativePhotoshopLink::NativePhotoshopLink(DesktopShell& shell) : shell_(shell) {}

std::unique_ptr<PhotoshopApplication> NativePhotoshopLink::create() {
    return std::make_unique<NativeApplication>(shell_);
}

} // namespace hv
