// Hover to tool tip over the results list of the real main window
// offscreen: a results list of 104,000 rows (2,000 listed documents of 52
// items, searched with an empty text), the pointer resting on rows of it.
//
//   bench_tooltip [documents]
//
// Prints, in milliseconds, from the tool-tip event to the tip painted:
//   first hover   the text, before the picture is read; then the worker's
//                 read of the picture until the tip shows it
//   cached        the picture already kept: a tip shown afresh, and a tip
//                 moved from row to row while it is up (median, 90%, max)
#include "platform/MessageBox.h"
#include "platform/Platform.h"
#include "platform/qt/NativePhotoshopLink.h"
#include "platform/qt/PosixFileSystem.h"
#include "platform/qt/QSettingsStore.h"
#include "platform/qt/QtDesktop.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtDocumentThumbnails.h"
#include "platform/qt/XlsxSpreadsheetLink.h"
#include "psd/testing/PsdWriter.h"
#include "shell/Form1.h"
#include "widgets/ListView.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QHelpEvent>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolTip>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

using namespace hv;

class QuietMessages : public MessageBox {
public:
    MessageAnswer show(const Message&) override { return MessageAnswer::Ok; }
};

// A thumbnail of 160 x 120 with a photograph's detail, as Photoshop keeps.
std::vector<std::byte> thumbnailJpeg() {
    QImage image(160, 120, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb((x * 7 + y * 3) % 256, (x * y) % 256, (x * 13 ^ y * 5) % 256));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 85);
    const auto* data = reinterpret_cast<const std::byte*>(bytes.constData());
    return {data, data + bytes.size()};
}

// 52 items: three groups of 16 layers of several kinds, some hidden, and a
// background.
QString writeDocument(const QString& folder) {
    psd::testing::PsdWriter writer;
    writer.width = 4000;
    writer.height = 3000;
    writer.imageResources.push_back(psd::testing::thumbnailResource(1036, thumbnailJpeg(), 160, 120));
    const psd::LayerKind kinds[] = {psd::LayerKind::Pixel, psd::LayerKind::Text, psd::LayerKind::Shape,
                                    psd::LayerKind::SmartObject};
    for (int group = 1; group <= 3; ++group) {
        writer.beginGroup(QStringLiteral("Group %1").arg(group).toStdU16String());
        for (int layer = 1; layer <= 16; ++layer) {
            psd::testing::Layer& item =
                writer.layer(QStringLiteral("Layer %1.%2").arg(group).arg(layer).toStdU16String());
            item.content = kinds[layer % 4];
            item.hidden = layer % 5 == 0;
        }
        writer.endGroup();
    }
    writer.layer(u"Background");
    const QString path = folder + QStringLiteral("/poster.psd");
    writer.writeFile(QFile::encodeName(path).toStdString());
    return path;
}

double msSince(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// Lets events run until `done` holds (at most ten seconds).
bool runUntil(const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > 10000) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

// The pointer rests on `row`: the tool-tip event Qt sends after the pause,
// then the tip painted. Returns the milliseconds it took.
double hover(ListView& list, int row) {
    list.scrollTo(list.model()->index(row - 1, 0));
    QCoreApplication::processEvents();
    const QPoint pos = list.visualRect(list.model()->index(row - 1, 0)).center();
    QElapsedTimer timer;
    timer.start();
    QHelpEvent rest(QEvent::ToolTip, pos, list.viewport()->mapToGlobal(pos));
    QApplication::sendEvent(list.viewport(), &rest);
    QCoreApplication::processEvents(); // the tip's paint
    return msSince(timer);
}

bool showsPicture() {
    return QToolTip::isVisible() && QToolTip::text().contains(QStringLiteral("<img"));
}

void printSpread(const char* what, std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    std::printf("%-34s median %7.2f ms  90%% %7.2f ms  max %7.2f ms  (%zu hovers)\n", what, ms[ms.size() / 2],
                ms[ms.size() * 9 / 10], ms.back(), ms.size());
}

int run(int documents) {
    QTemporaryDir folder;
    const QString path = writeDocument(folder.path());

    QuietMessages messages;
    QtDialogs dialogs;
    QtClipboard clipboard;
    QtDesktopShell desktop;
    QtEventPump events;
    QtAppExit appExit;
    QSettingsStore settings(folder.filePath(QStringLiteral("settings.ini")));
    PosixFileSystem fileSystem;
    NativePhotoshopLink photoshop(desktop);
    XlsxSpreadsheetLink spreadsheet(desktop);
    QtDocumentThumbnails thumbnails;
    Platform platform{messages,   dialogs,   dialogs,     dialogs, clipboard, settings,  desktop,
                      fileSystem, photoshop, spreadsheet, events,  appExit,   thumbnails};
    Form1 form(platform, folder.path());
    form.setRandomDraw([] { return 1; });
    form.Form_Load();
    form.showCentred();
    for (int d = 0; d < documents; ++d) form.ListView1->items().addItem(path);
    form.PushButton7->click(); // empty search text: every layer
    ListView& results = *form.ListView2;
    results.items().flush();
    const int rows = results.items().itemCount();
    std::printf("results: %d rows\n", rows);
    if (rows == 0) return 1;

    const double text = hover(results, 1);
    QElapsedTimer reading;
    reading.start();
    if (!runUntil(showsPicture)) return 1;
    std::printf("first hover: text %.2f ms; picture read and shown %.2f ms later\n", text, msSince(reading));

    std::vector<double> fresh;
    std::vector<double> moving;
    for (int i = 1; i <= 40; ++i) {
        const int row = 1 + static_cast<int>((static_cast<long long>(i) * 7919) % rows);
        if (i % 2 == 0) {
            QToolTip::hideText();
            if (!runUntil([] { return !QToolTip::isVisible(); })) return 1;
            fresh.push_back(hover(results, row));
        } else {
            moving.push_back(hover(results, row));
        }
        if (!showsPicture()) {
            std::fprintf(stderr, "row %d: the tip shows no picture\n", row);
            return 1;
        }
    }
    printSpread("cached, tip shown afresh:", fresh);
    printSpread("cached, tip moved to another row:", moving);
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    return run(argc > 1 ? std::atoi(argv[1]) : 2000);
}
