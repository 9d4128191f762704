// Dropping files and folders on the file list.
#include "FileListFixture.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include <memory>

namespace hv::test {
namespace {

class DragDrop : public FileListFixture {
protected:
    QString p(const QString& relative) const { return tree.path(relative); }
    void makeTrees() {
        tree.file("one/a.psd");
        tree.file("one/notes.txt");
        tree.file("one/~lock.psd");
        tree.file("one/sub/b.tif");
        tree.file("two/c.psd");
    }
    static std::unique_ptr<QMimeData> files(const QStringList& paths) {
        auto data = std::make_unique<QMimeData>();
        QList<QUrl> urls;
        for (const QString& path : paths) urls.append(QUrl::fromLocalFile(path));
        data->setUrls(urls);
        return data;
    }
    QWidget* viewport() { return form->ListView1->viewport(); }
    // Sends a drag's arrival and one move over the list, as the platform
    // does; returns whether the list accepted it and the action it answered.
    std::pair<bool, Qt::DropAction> dragOver(const QMimeData& data,
                                             Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction) {
        const QPoint at(10, 10);
        QDragEnterEvent enter(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport(), &enter);
        if (!enter.isAccepted()) return {false, enter.dropAction()};
        QDragMoveEvent move(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport(), &move);
        return {move.isAccepted(), move.dropAction()};
    }
    // The whole drag: arrival, move and drop. Returns whether the drop was
    // taken.
    bool drop(const QMimeData& data, Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction) {
        dragOver(data, actions);
        QDropEvent event(QPointF(10, 10), actions, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport(), &event);
        return event.isAccepted();
    }

    TempDir tree;
};

TEST_F(DragDrop, AnythingButLocalFilesIsRefusedAndDroppingItDoesNothing) {
    load();
    QMimeData text;
    text.setText("/some/path.psd");
    EXPECT_FALSE(dragOver(text).first);
    EXPECT_FALSE(drop(text));

    QMimeData web;
    web.setUrls({QUrl("https://example.com/a.psd")});
    EXPECT_FALSE(dragOver(web).first);

    QMimeData mixed;
    mixed.setUrls({QUrl::fromLocalFile("/tmp/a.psd"), QUrl("sftp://host/b.psd")});
    EXPECT_FALSE(dragOver(mixed).first);
    EXPECT_FALSE(drop(mixed));

    QMimeData empty;
    empty.setUrls({});
    EXPECT_FALSE(dragOver(empty).first);
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_TRUE(fakes.messages.shown.empty());
}

TEST_F(DragDrop, DroppedFilesAreAppendedUnchangedInTheirOrder) {
    makeTrees();
    load();
    addRows({"/earlier.psd"});
    const auto data = files({p("one/notes.txt"), p("one/~lock.psd"), "/not/there.PNG"});
    EXPECT_EQ(dragOver(*data), std::make_pair(true, Qt::CopyAction));
    EXPECT_TRUE(drop(*data));
    EXPECT_EQ(rows(), (QStringList{"/earlier.psd", p("one/notes.txt"), p("one/~lock.psd"), "/not/there.PNG"}));
}

TEST_F(DragDrop, ADroppedFolderAddsEveryFileOfItsTreeWhateverTheSavedExtension) {
    makeTrees();
    fakes.settings.values["Extension"] = "psd";
    load();
    EXPECT_TRUE(drop(*files({p("one")})));
    EXPECT_EQ(rows(), (QStringList{p("one/a.psd"), p("one/notes.txt"), p("one/sub/b.tif")}));
    EXPECT_EQ(form->pointer(), Pointer::Default);  // no hourglass for a drop
}

TEST_F(DragDrop, FoldersAndFilesKeepTheDroppedOrder) {
    makeTrees();
    load();
    drop(*files({p("one"), p("two")}));
    EXPECT_EQ(rows(), (QStringList{p("one/a.psd"), p("one/notes.txt"), p("one/sub/b.tif"), p("two/c.psd")}));

    fileList().clearItems();
    drop(*files({p("two/c.psd"), p("one")}));
    EXPECT_EQ(rows(), (QStringList{p("two/c.psd"), p("one/a.psd"), p("one/notes.txt"), p("one/sub/b.tif")}));

    fileList().clearItems();
    drop(*files({p("two"), p("one/a.psd")}));
    EXPECT_EQ(rows(), (QStringList{p("two/c.psd"), p("one/a.psd")}));
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

TEST_F(DragDrop, ADropIsTakenWhileTheHourglassShows) {
    makeTrees();
    load();
    form->setPointer(Pointer::Hourglass);
    EXPECT_TRUE(drop(*files({p("one/a.psd")})));
    EXPECT_EQ(rows(), QStringList{p("one/a.psd")});
}

} // namespace
} // namespace hv::test
