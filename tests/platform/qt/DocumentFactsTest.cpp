// What the document link tells of a document and its items beyond the names.

#include "psd/TestDocuments.h"

#include "platform/qt/NativePhotoshopLink.h"
#include "psd/testing/PsdWriter.h"

#include <gtest/gtest.h>

#include <QFile>

namespace hv {
namespace {

class NoShell final : public DesktopShell {
public:
    bool openUrl(const QString&) override { return true; }
    bool openFolder(const QString&) override { return true; }
    bool openDocument(const QString&) override { return true; }
};

TEST(DocumentFacts, TheLinkTellsEachItemsGroupsKindAndVisibilityAndTheDocumentsSize) {
    psd::testing::PsdWriter writer(psd::testing::Format::Psb);
    writer.width = 3000;
    writer.height = 2000;
    writer.depth = 16;
    writer.colorMode = 4;
    psd::testing::Layer& title = writer.layer(u"Title");
    title.content = psd::LayerKind::Text;
    title.text = u"Sale";
    writer.beginGroup(u"Outer");
    writer.beginGroup(u"<b>Inner</b>", false).hidden = true;
    writer.layer(u"Logo").hidden = true;
    writer.layer(u"Badge").content = psd::LayerKind::SmartObject;
    writer.endGroup();
    writer.endGroup();
    writer.layer(u"Background");
    psd::test::ScratchDir dir;
    const QString path = QString::fromStdString(dir.file("poster.psb"));
    writer.writeFile(QFile::encodeName(path).toStdString());

    NoShell shell;
    NativePhotoshopLink link(shell);
    auto document = link.create()->open(path);
    EXPECT_EQ(document->documentFacts(), (DocumentFacts{3000, 2000, 16, "CMYK"}));
    const QStringList outer{"Outer"};
    const QStringList inner{"Outer", "<b>Inner</b>"};
    const LayerFacts items[] = {
        {{}, "text", true},      {{}, "group", true},           {outer, "group", false},
        {inner, "pixel", false}, {inner, "smart object", true}, {{}, "pixel", true},
    };
    ASSERT_EQ(document->layerCount(), 6);
    for (int index = 1; index <= 6; ++index)
        EXPECT_EQ(document->layerFacts(index), items[index - 1]) << document->layerName(index).toStdString();

    // Asking beyond the items, or after closing, tells "unknown" and fails nothing.
    EXPECT_EQ(document->layerFacts(0), LayerFacts{});
    EXPECT_EQ(document->layerFacts(7), LayerFacts{});
    document->close();
    EXPECT_EQ(document->layerFacts(1), LayerFacts{});
    EXPECT_EQ(document->documentFacts(), DocumentFacts{});
}

} // namespace
} // namespace hv
