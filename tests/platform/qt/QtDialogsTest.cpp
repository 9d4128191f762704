#include "platform/qt/QtDialogs.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

namespace hv {
namespace {

TEST(QtDialogs, FiltersAreTranslatedToTheQtForm) {
    EXPECT_EQ(qtFilterFromPipes("Photoshop Files (*.psd)|*.psd|"), "Photoshop Files (*.psd)");
    EXPECT_EQ(qtFilterFromPipes("Text Files (*.txt)|*.txt|All Files (*.*)|*.*|"),
              "Text Files (*.txt);;All Files (*.*)");
    EXPECT_EQ(qtFilterFromPipes("Pictures|*.psd;*.psb|"), "Pictures (*.psd *.psb)");
}

// What a message box put on screen: its title and the text of its label.
struct ShownBox {
    QString title;
    QString text;
    Qt::TextFormat format = Qt::AutoText;
    int width = 0;
    QFont font;
};

ShownBox showAndRead(const Message& message) {
    ShownBox shown;
    QTimer::singleShot(0, [&shown] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        if (label) shown = {box->windowTitle(), label->text(), label->textFormat(), box->width(), box->font()};
        box->done(QMessageBox::Ok);
    });
    QtDialogs dialogs;
    dialogs.show(message);
    return shown;
}

TEST(QtDialogs, MessagesShowTheirTextAsWrittenNeverAsMarkup) {
    const QString kErrorTail = QStringLiteral("in Velquist2021/08/31.Form1.PushButton7_Click at line 118");
    const struct {
        Message message;
        QString shown;
    } rows[] = {
        {notice("Could not open <b>x</b>.psd", "Halvorine"), "Could not open <b>x</b>.psd"},
        {notice("<img src=\"/etc/passwd\"> & <a href=\"x\">y</a>", "Halvorine"),
         "<img src=\"/etc/passwd\"> & <a href=\"x\">y</a>"},
        {Message{"Cannot open \"<i>a</i>.psd\"\r\n" + kErrorTail, "Application Error", MessageButtons::Ok,
                 MessageIcon::Warning},
         "Cannot open \"<i>a</i>.psd\"\n" + kErrorTail},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.shown.toStdString());
        ASSERT_TRUE(Qt::mightBeRichText(row.message.text));
        const ShownBox shown = showAndRead(row.message);
        EXPECT_EQ(shown.title, row.message.title);
        EXPECT_EQ(shown.text, row.shown);
        EXPECT_EQ(shown.format, Qt::PlainText);
    }
}

// The title bar holds the title in bold beside an icon and three buttons.
TEST(QtDialogs, BoxesAreWideEnoughForTheirTitle) {
    for (const Message& message : {notice("Done.", "Halvorine"), question("?", "Halvorine"),
                                   notice("x", "Application Error - a rather long title for one letter")}) {
        const ShownBox shown = showAndRead(message);
        QFont bold = shown.font;
        bold.setBold(true);
        const QFontMetrics metrics(bold);
        EXPECT_GE(shown.width, metrics.horizontalAdvance(message.title) + 4 * metrics.height())
            << message.title.toStdString();
    }
}

} // namespace
} // namespace hv
