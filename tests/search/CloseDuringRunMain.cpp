// Closing the main window while a search runs ends the program at once.
//
// The real window and the real program exit, over a scripted document link
// that reads ahead on worker threads: the read of the second of four
// documents never ends, and once it has begun the first document's open
// asks for the window to be closed; the close then happens while the run
// lets events run. The message box prints every text it is asked to show.
// CTest fails the test when "Done." is printed, when a later document is
// opened, or when the process does not end with code 0 from inside the run;
// a process held up by the stuck worker fails on the test's time limit.
#include "support/Fakes.h"

#include "platform/qt/QtDesktop.h"
#include "shell/Form1.h"
#include "widgets/ListView.h"

#include <QApplication>
#include <QMetaObject>
#include <QPushButton>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

class PrintingMessageBox : public hv::MessageBox {
public:
    hv::MessageAnswer show(const hv::Message& message) override {
        std::printf("message: %s\n", qPrintable(message.text));
        std::fflush(stdout);
        return hv::MessageAnswer::Ok;
    }
};

} // namespace

int main(int argc, char* argv[]) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);

    hv::test::TestPlatform fakes;
    PrintingMessageBox messages;
    hv::QtEventPump events;
    hv::QtAppExit appExit;
    hv::test::FakePhotoshopLink link;
    hv::Platform platform = fakes.with().messages(messages).events(events).appExit(appExit).photoshop(link);

    QTemporaryDir appFolder;
    hv::Form1 form(platform, appFolder.path());
    form.setRandomDraw([] { return 1; });
    form.Form_Load();
    form.showCentred();

    const QStringList paths = {"/docs/1.psd", "/docs/2.psd", "/docs/3.psd", "/docs/4.psd"};
    for (const QString& path : paths) {
        link.addDocument(path, {"Logo", "Text", "Logo copy"});
        form.ListView1->items().addItem(path);
    }
    static std::atomic<bool> slowReadBegun = false;
    link.readAhead = 4;
    link.onRead = [slow = paths.at(1).toStdString()](const std::string& path) {
        if (path != slow) return;
        slowReadBegun = true;
        for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
    };
    link.onOpen = [&](const QString& path) {
        std::printf("open %s\n", qPrintable(path));
        std::fflush(stdout);
        if (path != paths.at(0)) return;
        for (int i = 0; i < 60000 && !slowReadBegun; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (!slowReadBegun) std::printf("the read of the second document never began\n");
        QMetaObject::invokeMethod(
            &form, [&form] { form.close(); }, Qt::QueuedConnection);
    };

    form.PushButton7->click();

    std::printf("the run came back after the window was closed\n");
    return 1;
}
