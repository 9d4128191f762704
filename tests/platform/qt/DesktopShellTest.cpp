// Which application the desktop shell hands a folder or document to, over
// fake XDG data and configuration folders.
#include "platform/qt/DesktopEntry.h"
#include "platform/qt/QtDesktop.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QHideEvent>
#include <QUrl>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

#include <unistd.h>

namespace hv {
namespace {

using test::TempDir;

const QString kSelf = QStringLiteral("example.halvorine.Halvorine.desktop");

QByteArray entry(const char* exec, const char* mimeTypes, const char* extra = "") {
    return QByteArray("[Desktop Entry]\nType=Application\nName=App\nIcon=app-icon\nExec=") + exec
           + "\nMimeType=" + mimeTypes + "\n" + extra;
}

TEST(DesktopEntryCommand, ExecLinesBecomeTheCommandForOnePath) {
    const QString path = QStringLiteral("/d/a b.psd");
    const std::pair<const char*, QStringList> rows[] = {
        {"gimp-2.10 %U", {"gimp-2.10", "file:///d/a%20b.psd"}},
        {"\"/opt/My App/app\" --open=%f %i", {"/opt/My App/app", "--open=/d/a b.psd", "--icon", "app-icon"}},
        {"viewer --scale 100%% %c", {"viewer", "--scale", "100%", "App", path}},
        {"edit \"say \\\\\"hi\\\\\"\" %F %d", {"edit", "say \"hi\"", path}},
        {"\"unclosed %f", {}},
        {"%f", {}},
    };
    for (const auto& [exec, command] : rows) {
        TempDir dir;
        const auto read = DesktopEntry::read(dir.file("x.desktop", entry(exec, "")), "x.desktop");
        ASSERT_TRUE(read) << exec;
        EXPECT_EQ(read->commandFor(path), command) << exec;
    }
}

// A fake desktop: this program and two editors registered for PSD files, a
// file manager for folders; the user's and the system's mimeapps.list as
// each row writes them.
class DesktopShellChoice : public ::testing::Test {
protected:
    DesktopShellChoice() {
        home.file("data/applications/" + kSelf, entry("halvorine %F", "image/vnd.adobe.photoshop;"));
        home.file("data/applications/gimp.desktop", entry("gimp %U", "image/x-psd;image/png;"));
        system.file("applications/krita.desktop", entry("krita %f", "image/vnd.adobe.photoshop;"));
        system.file("applications/hidden.desktop", entry("hidden %f", "image/vnd.adobe.photoshop;", "Hidden=true\n"));
        system.file("applications/files.desktop", entry("files %U", "inode/directory;"));
    }

    // What opening `path` did: "start <command>", "url <address>" or
    // "refused".
    QString open(const QString& path, bool folder) {
        QStringList did;
        const auto openUrl = [&](const QUrl& url) {
            did << "url " + url.toString();
            return true;
        };
        const auto start = [&](const QStringList& command) {
            did << "start " + command.join(' ');
            return true;
        };
        QtDesktopShell shell(
            {openUrl, start}, kSelf,
            XdgFolders{
                home.path("config"), {system.path("etc")}, home.path("data"), {system.path()}, {"test", "other"}});
        const bool took = folder ? shell.openFolder(path) : shell.openDocument(path);
        if (!took) did << QStringLiteral("refused");
        return did.join(QStringLiteral(" / "));
    }

    TempDir home, system;
};

TEST_F(DesktopShellChoice, NeverThisProgramButTheNextRegisteredOneOrNone) {
    struct Row {
        const char* userList;
        const char* desktopList; // the system's, for the current desktop
        const char* did;         // opening the document, %1 its path
    };
    const Row rows[] = {
        // Without defaults the entries' own lists count, this program's first.
        {"", "", "start gimp file://%1"},
        {"[Default Applications]\nimage/vnd.adobe.photoshop="
         "example.halvorine.Halvorine.desktop;\n",
         "", "start gimp file://%1"},
        // The desktop-specific list comes first; an alias names the type.
        {"", "[Default Applications]\nimage/psd=gone.desktop;krita.desktop;\n", "start krita %1"},
        {"[Added Associations]\nimage/vnd.adobe.photoshop=krita.desktop;\n", "", "start krita %1"},
        // Removed in a more preferred list, not taken as a default; hidden
        // entries never count.
        {"[Removed Associations]\nimage/vnd.adobe.photoshop=gimp.desktop;krita.desktop;\n",
         "[Default Applications]\nimage/vnd.adobe.photoshop=gimp.desktop;\n", "refused"},
    };
    const QString document = home.file("a.psd", "8BPS");
    for (const Row& row : rows) {
        home.file("config/mimeapps.list", row.userList);
        system.file("etc/test-mimeapps.list", row.desktopList);
        EXPECT_EQ(open(document, false), QString::fromLatin1(row.did).arg(document)) << row.userList << row.desktopList;
    }
}

TEST_F(DesktopShellChoice, AFolderGoesToTheDesktopUnlessThisProgramWasMadeItsHandler) {
    const QString folder = home.folder("pictures") + '/';
    EXPECT_EQ(open(folder, true), "url " + QUrl::fromLocalFile(folder).toString());
    home.file("config/mimeapps.list", "[Added Associations]\ninode/directory=" + kSelf.toLatin1() + ";\n");
    EXPECT_EQ(open(folder, true), "start files " + QUrl::fromLocalFile(folder).toString(QUrl::FullyEncoded));
    home.file("config/mimeapps.list", "[Removed Associations]\ninode/directory=files.desktop;\n[Added Associations]\n"
                                      "inode/directory="
                                          + kSelf.toLatin1() + ";\n");
    EXPECT_EQ(open(folder, true), "refused");
}

class HideReporter : public QWidget {
protected:
    void hideEvent(QHideEvent*) override { std::fputs("window hidden\n", stderr); }
};

// What runs at a normal exit (static destructors, atexit handlers) could
// wait on a read held by a dead share: none of it runs, and the window is
// gone first. A hang ends the child with SIGALRM.
TEST(QtAppExitDeathTest, HidesTheWindowsThenEndsWithoutRunningWhatCouldWait) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            alarm(10);
            HideReporter window;
            window.show();
            std::atexit(+[] {
                for (;;) pause();
            });
            QtAppExit().exitNow();
        },
        ::testing::ExitedWithCode(0), "window hidden");
}

} // namespace
} // namespace hv
