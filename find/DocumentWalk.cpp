#include "DocumentWalk.h"

#include "Console.h"
#include "core/ListViewModel.h"
#include "filelist/FolderScan.h"
#include "filelist/PathRules.h"
#include "platform/EventPump.h"
#include "platform/MessageBox.h"

namespace hv::find {

namespace {

QString fromBytes(const std::string& bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// There is no window whose events could be waiting.
class NoEvents final : public EventPump {
public:
    void processEvents() override {}
};

// The scan's error reports, as one line each on the error output: the
// failure and where it happened, without the request for a screenshot.
class ErrorLogMessages final : public MessageBox {
public:
    explicit ErrorLogMessages(ErrorLog& errors) : errors_(errors) {}
    MessageAnswer show(const Message& message) override {
        errors_.failed(message.text.section(QStringLiteral("\r\r"), 0, 0).simplified().toUtf8().toStdString());
        return MessageAnswer::Ok;
    }

private:
    ErrorLog& errors_;
};

// A folder as the user would write it: without the doubled and trailing
// separators the scan adds ("/" stays).
std::string folderName(const QString& folder) {
    QString name = normalizePath(folder, PathStyle::Posix);
    while (name.size() > 1 && name.endsWith(QLatin1Char('/'))) name.chop(1);
    return name.toUtf8().toStdString();
}

} // namespace

DocumentWalk::DocumentWalk(FileSystem& fileSystem, const std::vector<std::string>& extensions, ErrorLog& errors)
    : errors_(errors),
      fileSystem_(fileSystem, extensions) {}

bool DocumentWalk::isFolder(const std::string& path) {
    return fileSystem_.folderId(fromBytes(path)).has_value();
}

std::vector<std::string> DocumentWalk::documentsIn(const std::string& folder) {
    NoEvents events;
    ErrorLogMessages messages(errors_);
    ListViewModel files(false);
    files.addColumn(QStringLiteral("Path"));
    FolderScan scan(fileSystem_, events, messages, files);
    scan.addFolderFiles(fromBytes(folder), QStringLiteral("*.*"), [&](const QString& description) {
        errors_.failed(folder, description.toUtf8().toStdString());
    });
    for (const WalkFileSystem::FolderFailure& failure : fileSystem_.takeFolderFailures())
        errors_.failed(folderName(failure.folder), failure.reason.toUtf8().toStdString());

    std::vector<std::string> documents;
    documents.reserve(static_cast<std::size_t>(files.itemCount()));
    for (int row = 1; row <= files.itemCount(); ++row) documents.push_back(files.itemText(row).toUtf8().toStdString());
    return documents;
}

} // namespace hv::find
