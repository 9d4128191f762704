// Every document of the reference corpus gives exactly the items listed for
// it in its expected.json. The corpus sits beside the repository; without it
// the test is skipped.

#include "MiniJson.h"

#include "psd/LayerReader.h"
#include "psd/Text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace hv::psd {
namespace {

namespace fs = std::filesystem;

const fs::path corpusDir = HALVORINE_PSD_CORPUS_DIR;

std::string modeName(std::uint16_t mode) {
    switch (mode) {
    case 0: return "Bitmap";
    case 1: return "Grayscale";
    case 2: return "Indexed";
    case 3: return "RGB";
    case 4: return "CMYK";
    case 7: return "Multichannel";
    case 8: return "Duotone";
    case 9: return "Lab";
    default: return "mode " + std::to_string(mode);
    }
}

minijson::Value loadExpected() {
    std::ifstream in(corpusDir / "expected.json", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return minijson::parse(text.str());
}

TEST(ReferenceCorpus, EveryDocumentGivesExactlyItsExpectedItems) {
    if (!fs::exists(corpusDir / "expected.json"))
        GTEST_SKIP() << "reference corpus not found at " << corpusDir << "; nothing to compare";
    const minijson::Value expected = loadExpected();
    std::size_t checked = 0;
    for (const auto& [file, entry] : expected.members) {
        SCOPED_TRACE(file);
        const ReadResult result = readLayerItems((corpusDir / file).string());
        ASSERT_TRUE(result.ok()) << result.error().message;
        const Document& document = result.document();

        std::vector<std::string> names;
        std::size_t topLevel = 0;
        for (const LayerItem& item : document.items) {
            names.push_back(toUtf8(item.name));
            topLevel += item.depth == 0 ? 1 : 0;
        }
        std::vector<std::string> wanted;
        for (const minijson::Value& name : entry["items"].items) wanted.push_back(name.text);
        EXPECT_EQ(names, wanted);
        EXPECT_EQ(topLevel, static_cast<std::size_t>(entry["top_level_count"].number()));
        EXPECT_EQ(document.header.version, static_cast<std::uint16_t>(entry["version"].number()));
        EXPECT_EQ(document.header.depth, static_cast<std::uint16_t>(entry["bits"].number()));
        EXPECT_EQ(modeName(document.header.colorMode), entry["mode"].text);
        ++checked;
    }
    EXPECT_GT(checked, 0u);
}

TEST(ReferenceCorpus, EveryDocumentInTheFolderIsListed) {
    if (!fs::exists(corpusDir / "expected.json"))
        GTEST_SKIP() << "reference corpus not found at " << corpusDir << "; nothing to compare";
    const minijson::Value expected = loadExpected();
    std::set<std::string> onDisk;
    for (const auto& entry : fs::recursive_directory_iterator(corpusDir)) {
        const std::string ext = entry.path().extension().string();
        if (entry.is_regular_file() && (ext == ".psd" || ext == ".psb"))
            onDisk.insert(fs::relative(entry.path(), corpusDir).generic_string());
    }
    std::set<std::string> listed;
    for (const auto& [file, entry] : expected.members) listed.insert(file);
    EXPECT_EQ(onDisk, listed);
}

} // namespace
} // namespace hv::psd
