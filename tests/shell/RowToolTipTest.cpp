// The tool tips over the rows of the two lists, hovered in the real window
// over documents read by the document reader; the pictures come from a
// recording fake that delivers them when the test says.
#include "support/SearchWindowFixture.h"

#include <QBuffer>
#include <QHelpEvent>
#include <QTextDocument>
#include <QToolTip>

namespace hv::test {
namespace {

using psd::testing::PsdWriter;

class RowToolTip : public SearchWindowFixture {
protected:
    QString write(const PsdWriter& writer, const QString& name) {
        writer.writeFile(QFile::encodeName(docs.path(name)).toStdString());
        return docs.path(name);
    }

    // The pointer rests over the row (0: over empty space) until the tip
    // comes; returns its text, "" when none shows.
    static QString hover(ListView* list, int row) {
        list->items().flush();
        const QPoint pos = row > 0 ? list->visualRect(list->model()->index(row - 1, 0)).center()
                                   : QPoint(list->viewport()->width() / 2, list->viewport()->height() - 3);
        QTest::mouseMove(list->viewport(), pos);
        QHelpEvent rest(QEvent::ToolTip, pos, list->viewport()->mapToGlobal(pos));
        QApplication::sendEvent(list->viewport(), &rest);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    }

    // The lines the user reads, and the size of the picture shown above
    // them (empty without one).
    static QStringList linesOf(const QString& tip) {
        QTextDocument document;
        document.setHtml(tip);
        QStringList lines = document.toPlainText().split(QLatin1Char('\n'));
        lines.removeAll(QString(QChar::ObjectReplacementCharacter));
        lines.removeAll(QString());
        return lines;
    }
    static QSize pictureIn(const QString& tip) {
        QTextDocument document;
        document.setHtml(tip);
        if (!document.toPlainText().contains(QChar::ObjectReplacementCharacter)) return {};
        static const QRegularExpression data(QStringLiteral("src=\"data:image/png;base64,([^\"]*)\""));
        return QImage::fromData(QByteArray::fromBase64(data.match(tip).captured(1).toLatin1()), "PNG").size();
    }
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
    const QString plain = document("plain.psd", {"Logo"});
    list({poster, plain});
    search("logo");
    ASSERT_EQ(rows().size(), 3);
    EXPECT_TRUE(fakes.thumbnails.requests.isEmpty()) << "no picture is read before its row is hovered";

    const QString hint = form->ListView2->toolTip();
    const QString tip = hover(form->ListView2, 1);
    EXPECT_EQ(linesOf(tip), (QStringList{poster, "Group: Brand › Marks", "Kind: pixel, hidden",
                                         "Document: 1200 × 800 pixels, 8 bits per channel, RGB", hint}));
    EXPECT_EQ(pictureIn(tip), QSize());
    EXPECT_EQ(linesOf(hover(form->ListView2, 2)).value(2), "Kind: text, visible");
    EXPECT_EQ(QSet<QString>(fakes.thumbnails.requests.begin(), fakes.thumbnails.requests.end()), QSet{poster});

    DocumentPicture picture{{}, 120, 80};
    QBuffer png(&picture.png);
    png.open(QIODevice::WriteOnly);
    QImage(120, 80, QImage::Format_RGB32).save(&png, "PNG");
    fakes.thumbnails.deliver(poster, picture);
    EXPECT_EQ(pictureIn(QToolTip::text()), QSize(120, 80)) << "the tip still up gets the picture";
    EXPECT_EQ(linesOf(QToolTip::text()).value(4), hint);
    EXPECT_EQ(pictureIn(hover(form->ListView2, 1)), QSize(120, 80));

    // A document without a picture keeps the text alone, and says nothing.
    hover(form->ListView2, 3);
    fakes.thumbnails.deliver(plain, std::nullopt);
    EXPECT_EQ(linesOf(QToolTip::text()), (QStringList{plain, "Group: none", "Kind: pixel, visible",
                                                      "Document: 4 × 4 pixels, 8 bits per channel, RGB", hint}));
    EXPECT_EQ(pictureIn(QToolTip::text()), QSize());
    EXPECT_EQ(fakes.messages.texts(), QStringList{"Done."});
}

TEST_F(RowToolTip, EmptySpaceShowsTheListsHintAloneAndARowItsPathAboveTheHint) {
    const QString path = document("a.psd", {"Logo"});
    list({path});
    search("logo");
    // A row from a link that tells nothing beyond the names.
    form->ListView2->items().addItem(QStringList{"/elsewhere/b.psd", "Logo"});

    for (ListView* list : {form->ListView1, form->ListView2})
        EXPECT_EQ(hover(list, 0), list->toolTip()) << list->objectName().toStdString();
    EXPECT_EQ(linesOf(hover(form->ListView1, 1)), (QStringList{path, form->ListView1->toolTip()}));
    EXPECT_EQ(linesOf(hover(form->ListView2, 2)), (QStringList{"/elsewhere/b.psd", form->ListView2->toolTip()}));
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

    for (int row = 1; row <= 3; ++row) {
        const QString tip = hover(form->ListView2, row);
        EXPECT_EQ(linesOf(tip).mid(0, 2),
                  (QStringList{paths[row - 1], "Group: " + QString::fromStdU16String(cases[row - 1].second)}));
        EXPECT_EQ(pictureIn(tip), QSize());
        EXPECT_EQ(linesOf(hover(form->ListView1, row)).value(0), paths[row - 1]);
    }
}

} // namespace
} // namespace hv::test
