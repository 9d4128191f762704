#include "ScriptedLink.h"

#include "platform/Failure.h"

namespace hv::test {

namespace {

class ScriptedDocument : public PhotoshopDocument {
public:
    ScriptedDocument(ScriptedLink& link, QString path, QStringList names)
        : link_(link),
          path_(std::move(path)),
          names_(std::move(names)) {
        ++link_.openDocuments;
    }
    ~ScriptedDocument() override {
        if (closed_) return;
        --link_.openDocuments;
        link_.log.append(QStringLiteral("release ") + path_);
    }
    std::int32_t layerCount() override {
        link_.log.append(QStringLiteral("count"));
        if (link_.failCount.contains(path_)) throw Failure(QStringLiteral("Layer collection unreadable"));
        return static_cast<std::int32_t>(names_.size());
    }
    QString layerName(std::int32_t index) override {
        link_.log.append(QStringLiteral("name %1").arg(index));
        const int read = ++reads_[index];
        if (link_.failName.count({path_, index, read})) throw Failure(QStringLiteral("Layer name unreadable"));
        if (index < 1 || index > names_.size()) throw Failure(QStringLiteral("No such element"));
        return names_.at(index - 1);
    }
    void close() override {
        link_.log.append(QStringLiteral("close"));
        if (link_.failClose.contains(path_)) throw Failure(QStringLiteral("Close refused"));
        closed_ = true;
        --link_.openDocuments;
    }

private:
    ScriptedLink& link_;
    QString path_;
    QStringList names_;
    std::map<int, int> reads_;
    bool closed_ = false;
};

class ScriptedApplication : public PhotoshopApplication {
public:
    explicit ScriptedApplication(ScriptedLink& link) : link_(link) {}
    std::unique_ptr<PhotoshopDocument> open(const QString& path) override {
        link_.log.append(QStringLiteral("open ") + path);
        if (link_.onOpen) link_.onOpen(path);
        auto found = link_.documents.find(path);
        if (found == link_.documents.end()) throw Failure(QStringLiteral("Could not open \"%1\"").arg(path));
        return std::make_unique<ScriptedDocument>(link_, path, found->second);
    }
    void quit() override {
        link_.log.append(QStringLiteral("quit"));
        if (link_.failQuit) throw Failure(QStringLiteral("Quit refused"));
    }

private:
    ScriptedLink& link_;
};

} // namespace

std::unique_ptr<PhotoshopApplication> ScriptedLink::create() {
    log.append(QStringLiteral("create"));
    if (failCreate) throw Failure(QStringLiteral("Cannot create the reader"));
    return std::make_unique<ScriptedApplication>(*this);
}

} // namespace hv::test
