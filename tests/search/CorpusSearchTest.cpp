#include "support/SearchWindowFixture.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace hv::test {
namespace {

// The shared reference corpus: real documents from many programs, each with
// its expected layer items.
class CorpusSearch : public SearchWindowFixture {
protected:
    void SetUp() override {
        QFile index(QStringLiteral(HALVORINE_PSD_CORPUS "/expected.json"));
        if (!index.open(QIODevice::ReadOnly))
            GTEST_SKIP() << "the reference corpus is absent: " << HALVORINE_PSD_CORPUS;
        expected = QJsonDocument::fromJson(index.readAll()).object();
        ASSERT_FALSE(expected.isEmpty());
        SearchWindowFixture::SetUp();
    }
    QString pathOf(const QString& key) const { return QStringLiteral(HALVORINE_PSD_CORPUS "/") + key; }
    QStringList items(const QString& key) const {
        QStringList names;
        for (const QJsonValue& name : expected.value(key).toObject().value(QStringLiteral("items")).toArray())
            names << name.toString();
        return names;
    }

    QJsonObject expected;
};

TEST_F(CorpusSearch, EmptySearchTextListsEveryNamedItemOfEveryDocumentInOrder) {
    QStringList want;
    for (const QString& key : expected.keys()) {
        list({pathOf(key)});
        for (const QString& name : items(key))
            if (!name.isEmpty()) want << pathOf(key) + QLatin1Char('|') + name;
    }

    search("");

    EXPECT_TRUE(reportedLines().empty()) << fakes.messages.texts().join('\n').toStdString();
    EXPECT_EQ(fakes.messages.shown.back().text, "Done.");
    EXPECT_EQ(rows(), want);
    expectAtRest();
}

TEST_F(CorpusSearch, IgnoreCaseFindsCyrillicAndEmojiNames) {
    const QStringList keys = {"1layer.psd", "2layers.psd", "0layers.psd", "layer-name-emoji.psd"};
    for (const QString& key : keys) ASSERT_TRUE(expected.contains(key)) << key.toStdString();
    list({pathOf("1layer.psd"), pathOf("2layers.psd"), pathOf("0layers.psd")});

    form->Text1->setText(QString::fromUtf8("\u0444\u041e\u043d")); // "фОн"
    clickStartSearching();
    EXPECT_EQ(rows(), (QStringList{pathOf("1layer.psd") + QString::fromUtf8("|\u0424\u043e\u043d"),
                                   pathOf("2layers.psd") + QString::fromUtf8("|\u0424\u043e\u043d")}));

    QTest::mouseClick(form->Option1, Qt::LeftButton);
    clickStartSearching();
    EXPECT_TRUE(rows().isEmpty());

    // A name outside the Basic Multilingual Plane, stored as a surrogate pair.
    form->ListView1->items().clearItems();
    list({pathOf("layer-name-emoji.psd")});
    const QString alien = QString::fromUtf8("\U0001F47D");
    ASSERT_EQ(items("layer-name-emoji.psd"), QStringList{alien});
    form->Text1->setText(alien);
    clickStartSearching();
    EXPECT_EQ(rows(), QStringList{pathOf("layer-name-emoji.psd") + QLatin1Char('|') + alien});
    EXPECT_TRUE(reportedLines().empty());
}

} // namespace
} // namespace hv::test
