#pragma once

// Recording fakes of every platform interface, for tests. Each fake records
// what the program asked of it and answers from a script queued by the test.

#include "platform/AppExit.h"
#include "platform/Clipboard.h"
#include "platform/DesktopShell.h"
#include "platform/EventPump.h"
#include "platform/FileDialogs.h"
#include "platform/InputBox.h"
#include "platform/MessageBox.h"
#include "platform/PhotoshopLink.h"
#include "platform/Platform.h"
#include "platform/qt/PosixFileSystem.h"
#include "platform/SettingsStore.h"
#include "platform/SpreadsheetLink.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <map>
#include <optional>
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
    QStringList urls, folders, documents;
};

// Documents by path: a list of layer names, or a failure description.
class FakePhotoshopLink : public PhotoshopLink {
public:
    std::unique_ptr<PhotoshopApplication> create() override;
    void addDocument(const QString& path, QStringList names) { documents[path] = std::move(names); }
    std::map<QString, QStringList> documents;
    bool failCreate = false;
    QStringList log; // "create", "open <path>", "count", "name <i>", "close", "quit", "release <path>"
    std::function<void(const QString& path)> onOpen;
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

// One of each, wired into a Platform.
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
    Platform platform{messages, input,      dialogs,   dialogs,     clipboard, settings,
                      desktop,  fileSystem, photoshop, spreadsheet, events,    appExit};
};

} // namespace hv::test
