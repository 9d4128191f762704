// Dropping files and folders on the file list.
#include "FileListFixture.h"
#include "platform/PathBytes.h"
#include "platform/qt/PosixFileSystem.h"

#include <QFile>

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace hv::test {
namespace {

class DragDrop : public FileListFixture {
protected:
    QString p(const QString& relative) const { return tree.path(relative); }
    void makeTrees() {
        for (const char* name : {"one/a.psd", "one/notes.txt", "one/~lock.psd", "one/sub/b.tif", "two/c.psd"})
            tree.file(name);
    }
    static std::unique_ptr<QMimeData> files(const QStringList& paths) {
        auto data = std::make_unique<QMimeData>();
        QList<QUrl> urls;
        for (const QString& path : paths) urls.append(QUrl::fromLocalFile(path));
        data->setUrls(urls);
        return data;
    }
    // A drag's arrival and one move over the list, as the platform sends
    // them: whether the list took it and the action it answered.
    std::pair<bool, Qt::DropAction> dragOver(const QMimeData& data,
                                             Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction) {
        QWidget* viewport = form->ListView1->viewport();
        QDragEnterEvent enter(QPoint(10, 10), actions, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &enter);
        if (!enter.isAccepted()) return {false, enter.dropAction()};
        QDragMoveEvent move(QPoint(10, 10), actions, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
        return {move.isAccepted(), move.dropAction()};
    }
    // The whole drag; returns whether the drop was taken.
    bool drop(const QMimeData& data, Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction) {
        dragOver(data, actions);
        QDropEvent event(QPointF(10, 10), actions, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form->ListView1->viewport(), &event);
        return event.isAccepted();
    }

    TempDir tree;
};

TEST_F(DragDrop, AnythingButLocalFilesIsRefusedAndDroppingItDoesNothing) {
    load();
    QMimeData text, web, mixed, empty;
    text.setText("/some/path.psd");
    web.setUrls({QUrl("https://example.com/a.psd")});
    mixed.setUrls({QUrl::fromLocalFile("/tmp/a.psd"), QUrl("sftp://host/b.psd")});
    empty.setUrls({});
    for (const QMimeData* data : {&text, &web, &mixed, &empty}) {
        EXPECT_FALSE(dragOver(*data).first);
        EXPECT_FALSE(drop(*data));
        form->ListView1_OLEDragDrop(data); // even if it got there
    }
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_TRUE(fakes.messages.shown.empty());
}

TEST_F(DragDrop, DroppedFilesAreAppendedUnchangedEvenWhileBusy) {
    makeTrees();
    load();
    addRows({"/earlier.psd"});
    form->setPointer(Pointer::Hourglass);
    const auto data = files({p("one/notes.txt"), p("one/~lock.psd"), "/not/there.PNG"});
    EXPECT_EQ(dragOver(*data), std::make_pair(true, Qt::CopyAction));
    EXPECT_TRUE(drop(*data));
    EXPECT_EQ(rows(), (QStringList{"/earlier.psd", p("one/notes.txt"), p("one/~lock.psd"), "/not/there.PNG"}));
}

TEST_F(DragDrop, FoldersAddEveryFileOfTheirTreesAtTheirPlaceInTheDrop) {
    makeTrees();
    fakes.settings.values["Extension"] = "psd";
    load();
    const QStringList one{p("one/a.psd"), p("one/notes.txt"), p("one/sub/b.tif")};
    drop(*files({p("one"), p("two")}));
    EXPECT_EQ(rows(), one + QStringList{p("two/c.psd")});
    fileList().clearItems();
    drop(*files({p("two/c.psd"), p("one")}));
    EXPECT_EQ(rows(), QStringList{p("two/c.psd")} + one);
    fileList().clearItems();
    drop(*files({p("one"), p("two/c.psd")}));
    EXPECT_EQ(rows(), one + QStringList{p("two/c.psd")});
    EXPECT_EQ(form->pointer(), Pointer::Default); // no hourglass for a drop
}

TEST_F(DragDrop, TheDropIsACopySoTheSourceNeverDeletesTheFiles) {
    makeTrees();
    load();
    const auto data = files({p("one/a.psd")});
    EXPECT_EQ(dragOver(*data, Qt::MoveAction | Qt::CopyAction | Qt::LinkAction).second, Qt::CopyAction);
    EXPECT_EQ(dragOver(*data, Qt::LinkAction), std::make_pair(true, Qt::LinkAction));
    EXPECT_FALSE(dragOver(*data, Qt::MoveAction).first);
    EXPECT_FALSE(drop(*data, Qt::MoveAction));
    EXPECT_TRUE(rows().isEmpty());
}

// As a file manager sends them (the bytes percent-encoded) or as the command
// line hands them on, names that are not UTF-8 arrive with every byte, and
// a folder of such names is scanned.
TEST_F(DragDrop, NamesThatAreNotUtf8ArriveWithEveryByte) {
    const QByteArray base = QFile::encodeName(tree.path());
    ASSERT_EQ(::mkdir(base + "/latin\xe9", 0755), 0);
    for (const char* name : {"/latin\xe9/caf\xe9.psd", "/caf\xe9.psd"})
        ASSERT_EQ(::close(::creat(base + name, 0644)), 0);
    load();
    const QString e(QChar(0xDCE9));
    QMimeData data;
    data.setUrls(
        {QUrl::fromEncoded("file://" + base.toPercentEncoding("/") + "/latin%E9"), fileUrlOf(p("caf") + e + ".psd")});
    EXPECT_TRUE(drop(data));
    const QStringList expected{p("latin") + e + "/caf" + e + ".psd", p("caf") + e + ".psd"};
    EXPECT_EQ(rows(), expected);
    PosixFileSystem fs(1);
    for (const QString& row : expected) EXPECT_TRUE(fs.isExistingFile(row));
    // The temporary folder cannot remove names that are not text.
    for (const char* name : {"/latin\xe9/caf\xe9.psd", "/caf\xe9.psd"}) ::unlink(base + name);
    ::rmdir(base + "/latin\xe9");
}

} // namespace
} // namespace hv::test
