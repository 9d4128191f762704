// The tool tips over the rows of the two lists, hovered in the real window
// over documents read by the document reader; the pictures come from a
// recording fake that delivers them when the test says.
#include "SearchWindowFixture.h"

#include <QBuffer>
#include <QFile>
#include <QHelpEvent>
#include <QImage>
#include <QTextDocument>
#include <QToolTip>

namespace hv::test {
namespace {

using psd::testing::PsdWriter;

class RowToolTip : public SearchWindowFixture {
protected:
    QString write(const PsdWriter& writer, const QString& name) {
        const QString path = docs.path(name);
        writer.writeFile(QFile::encodeName(path).toStdString());
        return path;
    }

    // The pointer rests over `pos` of the list's viewport until the tool
    // tip comes; returns its text ("" when none shows).
    static QString hover(ListView* list, QPoint pos) {
        QTest::mouseMove(list->viewport(), pos);
        QHelpEvent rest(QEvent::ToolTip, pos, list->viewport()->mapToGlobal(pos));
        QApplication::sendEvent(list->viewport(), &rest);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    }
    static QString hoverRow(ListView* list, int row) {
        list->items().flush();
        return hover(list, list->visualRect(list->model()->index(row - 1, 0)).center());
    }
    static QString hoverEmptySpace(ListView* list) {
        list->items().flush();
        return hover(list, {list->viewport()->width() / 2, list->viewport()->height() - 3});
    }

    // The lines the user reads; a picture is no line.
    static QStringList linesOf(const QString& tip) {
        QTextDocument document;
        document.setHtml(tip);
        QStringList lines = document.toPlainText().split(QLatin1Char('\n'));
        lines.removeAll(QString(QChar::ObjectReplacementCharacter));
        lines.removeAll(QString());
        return lines;
    }
    // The size of the picture the tip shows; empty without one.
    static QSize pictureIn(const QString& tip) {
        QTextDocument document;
        document.setHtml(tip);
        if (!document.toPlainText().contains(QChar::ObjectReplacementCharacter)) return {};
        static const QRegularExpression data(QStringLiteral("src=\"data:image/png;base64,([^\"]*)\""));
        return QImage::fromData(QByteArray::fromBase64(data.match(tip).captured(1).toLatin1()), "PNG").size();
    }
    static DocumentPicture picture(int width, int height) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        DocumentPicture picture{{}, width, height};
        QBuffer buffer(&picture.png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        return picture;
    }

    QString resultsHint() const { return form->ListView2->toolTip(); }
};

TEST_F(RowToolTip, AResultsRowShowsItsFactsAtOnceAndItsDocumentsPictureWhenItArrives) {
    PsdWriter writer;
    writer.width = 1200;
    writer.height = 800;
    writer.beginGroup(u"Brand");
    writer.beginGroup(u"Marks");
    writer.layer(u"Logo red").hidden = true;
    writer.endGroup();
    writer.endGroup();
    writer.layer(u"Logo text").content = psd::LayerKind::Text;
    const QString poster = write(writer, "poster.psd");
    const QString other = document("other.psd", {"Logo"});
    list({poster, other});
    search("logo");
    ASSERT_EQ(rows().size(), 3);
    EXPECT_TRUE(fakes.thumbnails.requests.isEmpty()) << "no picture is read before its row is hovered";

    const QString tip = hoverRow(form->ListView2, 1);

    EXPECT_EQ(linesOf(tip), (QStringList{poster, "Group: Brand › Marks", "Kind: pixel, hidden",
                                         "Document: 1200 × 800 pixels, 8 bits per channel, RGB", resultsHint()}));
    EXPECT_EQ(pictureIn(tip), QSize());
    EXPECT_EQ(linesOf(hoverRow(form->ListView2, 2))[2], "Kind: text, visible");
    QStringList asked = fakes.thumbnails.requests;
    asked.removeDuplicates();
    EXPECT_EQ(asked, QStringList{poster});

    fakes.thumbnails.deliver(poster, picture(120, 80));

    EXPECT_EQ(pictureIn(QToolTip::text()), QSize(120, 80)) << "the tip still up gets the picture";
    EXPECT_EQ(linesOf(QToolTip::text())[0], poster);
    EXPECT_EQ(pictureIn(hoverRow(form->ListView2, 1)), QSize(120, 80));
    EXPECT_FALSE(fakes.thumbnails.requests.contains(other));
}

TEST_F(RowToolTip, EmptySpaceShowsTheListsHintAloneAndAFileRowItsPathAboveTheHint) {
    const QString path = document("a.psd", {"Logo"});
    list({path});
    search("logo");

    for (ListView* list : {form->ListView1, form->ListView2})
        EXPECT_EQ(hoverEmptySpace(list), list->toolTip()) << list->objectName().toStdString();
    EXPECT_EQ(linesOf(hoverRow(form->ListView1, 1)), (QStringList{path, form->ListView1->toolTip()}));
    EXPECT_TRUE(fakes.thumbnails.requests.isEmpty());
}

TEST_F(RowToolTip, MarkupInPathsAndGroupNamesShowsAsWritten) {
    docs.folder("<b>x<");
    const std::pair<QString, std::u16string> cases[] = {
        {"<img src=x>.psd", u"<b>g</b>"},
        {"<b>x</b>.psd", u"a & b <i>"},
        {"plain &amp; .psd", u"<img src=y>"},
    };
    QStringList paths;
    for (const auto& [file, group] : cases) {
        PsdWriter writer;
        writer.beginGroup(group);
        writer.layer(u"Logo");
        writer.endGroup();
        paths << write(writer, file);
    }
    list(paths);
    search("logo");
    ASSERT_EQ(rows().size(), 3);

    for (int row = 1; row <= 3; ++row) {
        const QString tip = hoverRow(form->ListView2, row);
        const QStringList lines = linesOf(tip);
        ASSERT_GE(lines.size(), 2);
        EXPECT_EQ(lines[0], paths[row - 1]);
        EXPECT_EQ(lines[1], "Group: " + QString::fromStdU16String(cases[row - 1].second));
        EXPECT_EQ(pictureIn(tip), QSize());
        EXPECT_EQ(linesOf(hoverRow(form->ListView1, row)).value(0), paths[row - 1]);
    }
}

TEST_F(RowToolTip, WithoutPictureOrFactsTheTipIsTheTextAloneAndNothingIsReported) {
    const QString path = document("a.psd", {"Logo"});
    list({path});
    search("logo");
    // A row from a link that tells nothing beyond the names.
    form->ListView2->items().addItem(QStringList{"/elsewhere/b.psd", "Logo"});

    hoverRow(form->ListView2, 1);
    fakes.thumbnails.deliver(path, std::nullopt);

    EXPECT_EQ(linesOf(QToolTip::text()),
              (QStringList{path, "Group: none", "Kind: pixel, visible",
                           "Document: 4 × 4 pixels, 8 bits per channel, RGB", resultsHint()}));
    EXPECT_EQ(pictureIn(QToolTip::text()), QSize());
    EXPECT_EQ(linesOf(hoverRow(form->ListView2, 2)), (QStringList{"/elsewhere/b.psd", resultsHint()}));
    EXPECT_EQ(fakes.messages.texts(), QStringList{"Done."});
}

} // namespace
} // namespace hv::test
