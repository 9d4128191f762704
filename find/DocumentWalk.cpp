#include "DocumentWalk.h"

#include "Console.h"
#include "filelist/FolderScanTree.h"
#include "filelist/PathRules.h"
#include "find/ConsoleText.h"
#include "platform/EventPump.h"
#include "platform/PathBytes.h"

namespace hv::find {

namespace {

std::string bytesOf(const QString& path) {
    return pathBytes(path).toStdString();
}

std::string shownOf(const QString& path) {
    return shownPath(bytesOf(path));
}

// There is no window whose events could be waiting.
class NoEvents final : public EventPump {
public:
    void processEvents() override {}
};

// A folder as the user would write it: without the doubled and trailing
// separators the scan adds ("/" stays).
std::string folderName(const QString& folder) {
    QString name = normalizePath(folder, PathStyle::Posix);
    while (name.size() > 1 && name.endsWith(QLatin1Char('/'))) name.chop(1);
    return shownOf(name);
}

// The scan's output on the command line: the documents, each as the bytes of
// its path, and one error line for each failure.
class DocumentList final : public FolderScanOutput {
public:
    explicit DocumentList(ErrorLog& errors) : errors_(errors) {}

    void found(const QString& path) override { documents.push_back(bytesOf(path)); }
    void failed(const ScanFailure& failure) override {
        const std::string reason = failure.reason.toUtf8().toStdString();
        switch (failure.kind) {
        case ScanFailure::Kind::Listing: errors_.failed(folderName(failure.path), reason); break;
        case ScanFailure::Kind::Statement:
            errors_.failed(folderName(failure.path),
                           reason + " (folder scan, statement " + std::to_string(failure.statement) + ")");
            break;
        case ScanFailure::Kind::File: errors_.failed(shownOf(failure.path), reason); break;
        }
    }

    std::vector<std::string> documents;

private:
    ErrorLog& errors_;
};

} // namespace

std::string shownPath(std::string_view bytes) {
    return console::escapeStrayBytes(bytes);
}

DocumentWalk::DocumentWalk(FileSystem& fileSystem, const std::vector<std::string>& extensions, ErrorLog& errors)
    : errors_(errors),
      fileSystem_(fileSystem, extensions) {}

bool DocumentWalk::isFolder(const std::string& path) {
    return fileSystem_.folderId(pathText(path)).has_value();
}

std::vector<std::string> DocumentWalk::documentsIn(const std::string& folder) {
    NoEvents events;
    DocumentList list(errors_);
    scanFolderTree(fileSystem_, events, list, pathText(folder), QStringLiteral("*.*"));
    return std::move(list.documents);
}

} // namespace hv::find
