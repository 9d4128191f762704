#include "Fakes.h"

#include "platform/Failure.h"
#include "psd/ReadAhead.h"

#include <QCoreApplication>

#include <chrono>
#include <mutex>
#include <string>
#include <vector>

namespace hv::test {

MessageAnswer FakeMessageBox::show(const Message& message) {
    shown.push_back(message);
    if (onShow) onShow(message);
    if (!answers.empty()) {
        const MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return message.buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
}

QStringList FakeMessageBox::texts() const {
    QStringList result;
    for (const Message& message : shown) result.append(message.text);
    return result;
}

QString FakeInputBox::ask(const QString& prompt, const QString& title, const QString& defaultAnswer) {
    calls.push_back({prompt, title, defaultAnswer});
    if (answers.empty()) return {};
    QString answer = answers.front();
    answers.pop_front();
    return answer;
}

QStringList FakeFileDialogs::openFiles(const QString& title, const QString& filter) {
    calls.push_back({QStringLiteral("open"), title, filter});
    if (openAnswers.empty()) return {};
    QStringList answer = openAnswers.front();
    openAnswers.pop_front();
    return answer;
}

QString FakeFileDialogs::saveFile(const QString& title, const QString& filter) {
    calls.push_back({QStringLiteral("save"), title, filter});
    if (saveAnswers.empty()) return {};
    QString answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
}

QString FakeFileDialogs::browse(const QString& prompt, const QString& startFolder) {
    calls.push_back({QStringLiteral("browse"), prompt, startFolder});
    if (browseAnswers.empty()) return {};
    QString answer = browseAnswers.front();
    browseAnswers.pop_front();
    return answer;
}

bool FakeClipboard::clear() {
    ++clearAttempts;
    if (clearFailures > 0) {
        --clearFailures;
        return false;
    }
    text.clear();
    return true;
}

bool FakeClipboard::setText(const QString& newText) {
    ++setAttempts;
    if (setFailures > 0) {
        --setFailures;
        return false;
    }
    text = newText;
    return true;
}

QString MemorySettings::readSetting(const QString& key, const QString& defaultValue) {
    return values.value(key, defaultValue);
}

void MemorySettings::writeSetting(const QString& key, const QString& value) {
    if (failWrites) throw Failure(QStringLiteral("Could not save the setting \"%1\"").arg(key));
    values[key] = value;
}

bool FakeDesktopShell::openUrl(const QString& address) {
    urls.append(address);
    return takes;
}

bool FakeDesktopShell::openFolder(const QString& folder) {
    folders.append(folder);
    return takes;
}

bool FakeDesktopShell::openDocument(const QString& path) {
    documents.append(path);
    return takes;
}

namespace {

class FakeDocument : public PhotoshopDocument {
public:
    FakeDocument(FakePhotoshopLink& link, QString path, QStringList names)
        : link_(link),
          path_(std::move(path)),
          names_(std::move(names)) {
        ++link_.openDocuments;
    }
    ~FakeDocument() override {
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
    void showToUser() override { link_.log.append(QStringLiteral("show ") + path_); }
    void close() override {
        link_.log.append(QStringLiteral("close"));
        if (link_.failClose.contains(path_)) throw Failure(QStringLiteral("Close refused"));
        closed_ = true;
        --link_.openDocuments;
    }

private:
    FakePhotoshopLink& link_;
    QString path_;
    QStringList names_;
    std::map<int, int> reads_;
    bool closed_ = false;
};

class FakeApplication : public PhotoshopApplication {
public:
    FakeApplication(FakePhotoshopLink& link, std::unique_ptr<psd::ReadAhead> pool)
        : link_(link),
          pool_(std::move(pool)) {}
    void expect(const QStringList& paths) override {
        if (!pool_) return;
        std::vector<std::string> files;
        for (const QString& path : paths) files.push_back(path.toStdString());
        pool_->announce(std::move(files));
    }
    bool waitUntilReady(const QString& path, int milliseconds) override {
        return !pool_ || pool_->waitReady(path.toStdString(), std::chrono::milliseconds(milliseconds));
    }
    std::unique_ptr<PhotoshopDocument> open(const QString& path) override {
        link_.log.append(QStringLiteral("open ") + path);
        if (link_.onOpen) link_.onOpen(path);
        if (pool_) pool_->take(path.toStdString());
        auto found = link_.documents.find(path);
        if (found == link_.documents.end()) throw Failure(QStringLiteral("Could not open \"%1\"").arg(path));
        return std::make_unique<FakeDocument>(link_, path, found->second);
    }
    void quit() override {
        link_.log.append(QStringLiteral("quit"));
        if (link_.failQuit) throw Failure(QStringLiteral("Quit refused"));
    }

private:
    FakePhotoshopLink& link_;
    std::unique_ptr<psd::ReadAhead> pool_;
};

class FakeWorkbook : public SpreadsheetWorkbook {
public:
    explicit FakeWorkbook(FakeSpreadsheetLink& link) : link_(link) {}
    void setCell(std::int32_t row, std::int32_t column, const QString& text) override {
        link_.log.append(QStringLiteral("cell %1 %2 %3").arg(row).arg(column).arg(text));
        link_.cells[{row, column}] = text;
    }
    void autoFitColumns() override { link_.log.append(QStringLiteral("autofit")); }

private:
    FakeSpreadsheetLink& link_;
};

class FakeSpreadsheet : public SpreadsheetApplication {
public:
    explicit FakeSpreadsheet(FakeSpreadsheetLink& link) : link_(link), workbook_(link) {}
    SpreadsheetWorkbook& addWorkbook() override {
        link_.log.append(QStringLiteral("add"));
        return workbook_;
    }
    void setVisible(bool visible) override {
        if (visible) link_.log.append(QStringLiteral("visible"));
    }

private:
    FakeSpreadsheetLink& link_;
    FakeWorkbook workbook_;
};

} // namespace

// Shared with the pool's reader, which may outlive the link.
struct FakePhotoshopLink::ReadRecord {
    mutable std::mutex mutex;
    QStringList paths;
};

FakePhotoshopLink::FakePhotoshopLink() : reads_(std::make_shared<ReadRecord>()) {}

std::unique_ptr<PhotoshopApplication> FakePhotoshopLink::create() {
    log.append(QStringLiteral("create"));
    if (failCreate) throw Failure(QStringLiteral("ActiveX component can't create object"));
    std::unique_ptr<psd::ReadAhead> pool;
    if (readAhead) {
        pool = std::make_unique<psd::ReadAhead>(*readAhead, [record = reads_, hook = onRead](const std::string& path) {
            {
                std::lock_guard lock(record->mutex);
                record->paths.append(QString::fromStdString(path));
            }
            if (hook) hook(path);
            return psd::ReadResult(psd::Document{});
        });
    }
    return std::make_unique<FakeApplication>(*this, std::move(pool));
}

QStringList FakePhotoshopLink::reads() const {
    std::lock_guard lock(reads_->mutex);
    return reads_->paths;
}

std::unique_ptr<SpreadsheetApplication> FakeSpreadsheetLink::create() {
    log.append(QStringLiteral("create"));
    if (failCreate) throw Failure(QStringLiteral("ActiveX component can't create object"));
    return std::make_unique<FakeSpreadsheet>(*this);
}

PlatformWiring::PlatformWiring(const Platform& fakes)
    : parts_{&fakes.messages, &fakes.input,   &fakes.fileDialogs, &fakes.folderBrowser, &fakes.clipboard,
             &fakes.settings, &fakes.desktop, &fakes.fileSystem,  &fakes.photoshop,     &fakes.spreadsheet,
             &fakes.events,   &fakes.appExit, &fakes.thumbnails} {}

PlatformWiring::operator Platform() const {
    return Platform{*parts_.messages, *parts_.input,   *parts_.fileDialogs, *parts_.folderBrowser, *parts_.clipboard,
                    *parts_.settings, *parts_.desktop, *parts_.fileSystem,  *parts_.photoshop,     *parts_.spreadsheet,
                    *parts_.events,   *parts_.appExit, *parts_.thumbnails};
}

std::optional<DocumentPicture> FakeDocumentThumbnails::picture(const QString& path) const {
    const auto found = delivered.find(path);
    return found == delivered.end() ? std::nullopt : found->second;
}

void FakeDocumentThumbnails::deliver(const QString& path, std::optional<DocumentPicture> picture) {
    delivered[path] = std::move(picture);
    if (arrived_) arrived_(path);
}

void FakeEventPump::processEvents() {
    ++calls;
    QCoreApplication::processEvents();
    if (onEvents) onEvents(calls);
}

} // namespace hv::test
