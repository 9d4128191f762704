#pragma once

// Recording fakes of every platform interface, for tests. Each fake records
// what the program asked of it and answers from a script queued by the test.

#include "platform/AppExit.h"
#include "platform/Clipboard.h"
#include "platform/DesktopShell.h"
#include "platform/DocumentThumbnails.h"
#include "platform/EventPump.h"
#include "platform/FileDialogs.h"
#include "platform/InputBox.h"
#include "platform/MessageBox.h"
#include "platform/PhotoshopLink.h"
#include "platform/Platform.h"
#include "platform/ProgressDisplay.h"
#include "platform/SettingsStore.h"
#include "platform/SpreadsheetLink.h"
#include "platform/WindowPointer.h"
#include "platform/qt/PosixFileSystem.h"

#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <tuple>
#include <vector>

namespace hv::test {

class FakeMessageBox : public MessageBox {
public:
    MessageAnswer show(const Message& message) override;
    std::vector<Message> shown;
    std::deque<MessageAnswer> answers; // next answers; Ok (or No) when empty
    std::function<void(const Message&)> onShow;
    QStringList texts() const;
};

class FakeInputBox : public InputBox {
public:
    QString ask(const QString& prompt, const QString& title, const QString& defaultAnswer) override;
    struct Call {
        QString prompt, title, defaultAnswer;
    };
    std::vector<Call> calls;
    std::deque<QString> answers; // "" (Cancel) when empty
};

class FakeFileDialogs : public FileDialogs, public FolderBrowser {
public:
    QStringList openFiles(const QString& title, const QString& filter) override;
    QString saveFile(const QString& title, const QString& filter) override;
    QString browse(const QString& prompt, const QString& startFolder) override;
    struct Call {
        QString kind, title, filterOrStart;
    };
    std::vector<Call> calls;
    std::deque<QStringList> openAnswers;
    std::deque<QString> saveAnswers;
    std::deque<QString> browseAnswers;
};

class FakeClipboard : public Clipboard {
public:
    bool clear() override;
    bool setText(const QString& text) override;
    QString text = QStringLiteral("(previous content)");
    int clearFailures = 0; // attempts that fail before one succeeds
    int setFailures = 0;
    int clearAttempts = 0;
    int setAttempts = 0;
};

class MemorySettings : public SettingsStore {
public:
    QString readSetting(const QString& key, const QString& defaultValue) override;
    void writeSetting(const QString& key, const QString& value) override;
    QMap<QString, QString> values;
    bool failWrites = false;
};

class FakeDesktopShell : public DesktopShell {
public:
    bool openUrl(const QString& address) override;
    bool openFolder(const QString& folder) override;
    bool openDocument(const QString& path) override;
    QStringList urls, folders, documents; // what it was asked, taken or not
    bool takes = true;                    // the answer to every call
};

// A document link over documents given by path, each a list of layer names;
// any of its operations can be made to fail. It logs what it was asked:
// "create", "open <path>", "count", "name <i>", "show <path>", "close",
// "quit", and "release <path>" for a document released without being closed.
class FakePhotoshopLink : public PhotoshopLink {
public:
    FakePhotoshopLink();
    std::unique_ptr<PhotoshopApplication> create() override;
    void addDocument(const QString& path, QStringList names) { documents[path] = std::move(names); }

    std::map<QString, QStringList> documents; // a path not listed cannot be opened
    bool failCreate = false;
    bool failQuit = false;
    QSet<QString> failCount; // paths whose layer count cannot be read
    QSet<QString> failClose; // paths that cannot be closed
    // (path, item, read) triples whose name fails on that read: 1 for the
    // first read of that item in the document, 2 for the second, and so on.
    std::set<std::tuple<QString, int, int>> failName;
    std::function<void(const QString& path)> onOpen;
    QStringList log;
    int openDocuments = 0; // opened and neither closed nor released yet

    // When set, the application reads ahead as the link on the layer reader
    // does: announced documents are "read" on a psd::ReadAhead pool of that
    // K, each read calling onRead on the thread that reads (copied at
    // create(): a test may hold a read up with it), and open() takes the
    // path's read before it looks the document up. The log is the same
    // whatever K; reads() lists the paths read, in the order reading began.
    std::optional<std::size_t> readAhead;
    std::function<void(const std::string& path)> onRead;
    QStringList reads() const;

    struct ReadRecord;

private:
    std::shared_ptr<ReadRecord> reads_;
};

class FakeSpreadsheetLink : public SpreadsheetLink {
public:
    std::unique_ptr<SpreadsheetApplication> create() override;
    bool failCreate = false;
    std::map<std::pair<int, int>, QString> cells;
    QStringList log; // "create", "add", "cell r c text", "autofit", "visible"
};

class FakeEventPump : public EventPump {
public:
    void processEvents() override;
    int calls = 0;
    std::function<void(int call)> onEvents; // runs inside the pump, as a user would act
};

class FakeAppExit : public AppExit {
public:
    void exitNow() override { ++calls; }
    int calls = 0;
};

// Preview pictures that arrive only when the test delivers them. Records
// every request.
class FakeDocumentThumbnails : public DocumentThumbnails {
public:
    void request(const QString& path) override { requests.append(path); }
    std::optional<DocumentPicture> picture(const QString& path) const override;
    void setArrived(std::function<void(const QString& path)> arrived) override { arrived_ = std::move(arrived); }
    // The read of `path` ends, with `picture` or none, as the worker's would.
    void deliver(const QString& path, std::optional<DocumentPicture> picture);

    QStringList requests;
    std::map<QString, std::optional<DocumentPicture>> delivered;

private:
    std::function<void(const QString&)> arrived_;
};

// A pointer state that records every change.
class RecordingPointer : public WindowPointer {
public:
    Pointer pointer() const override { return current; }
    void setPointer(Pointer pointer) override {
        current = pointer;
        changes.push_back(pointer);
    }
    Pointer current = Pointer::Default;
    std::vector<Pointer> changes;
};

// A progress display that records every value and caption set on it, in
// order; it starts idle, as the window's bar does.
class RecordingProgress : public ProgressDisplay {
public:
    void setValue(double value) override {
        value_ = value;
        values.push_back(value);
    }
    double value() const override { return value_; }
    void setText(const QString& text) override {
        text_ = text;
        texts.append(text);
    }
    QString text() const override { return text_; }
    std::vector<double> values;
    QStringList texts;

private:
    double value_ = 0;
    QString text_ = QStringLiteral("Progress Bar");
};

// A Platform of chosen parts: each starts as the fake of a TestPlatform and
// may be replaced, as in `Platform p = fakes.with().photoshop(reader);`.
class PlatformWiring {
public:
    explicit PlatformWiring(const Platform& fakes);
    PlatformWiring& messages(MessageBox& part) { return set(parts_.messages, part); }
    PlatformWiring& settings(SettingsStore& part) { return set(parts_.settings, part); }
    PlatformWiring& fileSystem(FileSystem& part) { return set(parts_.fileSystem, part); }
    PlatformWiring& photoshop(PhotoshopLink& part) { return set(parts_.photoshop, part); }
    PlatformWiring& spreadsheet(SpreadsheetLink& part) { return set(parts_.spreadsheet, part); }
    PlatformWiring& events(EventPump& part) { return set(parts_.events, part); }
    PlatformWiring& appExit(AppExit& part) { return set(parts_.appExit, part); }
    PlatformWiring& thumbnails(DocumentThumbnails& part) { return set(parts_.thumbnails, part); }
    operator Platform() const; // a wiring stands wherever a Platform is wanted

private:
    struct Parts {
        MessageBox* messages;
        InputBox* input;
        FileDialogs* fileDialogs;
        FolderBrowser* folderBrowser;
        Clipboard* clipboard;
        SettingsStore* settings;
        DesktopShell* desktop;
        FileSystem* fileSystem;
        PhotoshopLink* photoshop;
        SpreadsheetLink* spreadsheet;
        EventPump* events;
        AppExit* appExit;
        DocumentThumbnails* thumbnails;
    };
    template <class Part>
    PlatformWiring& set(Part*& slot, Part& part) {
        slot = &part;
        return *this;
    }
    Parts parts_;
};

// One of each fake, and the Platform made of them. `with()` starts a
// Platform in which single fakes are replaced.
struct TestPlatform {
    FakeMessageBox messages;
    FakeInputBox input;
    FakeFileDialogs dialogs;
    FakeClipboard clipboard;
    MemorySettings settings;
    FakeDesktopShell desktop;
    PosixFileSystem fileSystem;
    FakePhotoshopLink photoshop;
    FakeSpreadsheetLink spreadsheet;
    FakeEventPump events;
    FakeAppExit appExit;
    FakeDocumentThumbnails thumbnails;
    Platform platform{messages,   input,     dialogs,     dialogs, clipboard, settings,  desktop,
                      fileSystem, photoshop, spreadsheet, events,  appExit,   thumbnails};

    PlatformWiring with() const { return PlatformWiring(platform); }
};

} // namespace hv::test
