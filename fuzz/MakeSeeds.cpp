// Writes the fuzzer's seed documents: small PSD and PSB files covering the
// shapes the reader knows (groups, Unicode and Pascal names, 16/32-bit
// layer blocks, padding conventions, PSB length widths, layer kinds, text,
// hidden layers, thumbnails).
//   psd_fuzz_seeds OUTPUT_FOLDER

#include "psd/testing/PsdWriter.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>
#include <string>

using namespace hv::psd::testing;

namespace {

std::vector<std::byte> bytesOf(std::string_view text) {
    std::vector<std::byte> out;
    for (const char c : text) out.push_back(static_cast<std::byte>(c));
    return out;
}

PsdWriter small(Format format) {
    PsdWriter w(format);
    w.imageDataBytes = 4;
    w.width = 2;
    w.height = 2;
    return w;
}

void addLayers(PsdWriter& w) {
    w.layer(u"Top").channels = 1;
    w.beginGroup(u"Group", false).channels = 0;
    w.layer(u"\U0001F47D").channels = 0;
    w.endGroup(u"</Layer group>").channels = 0;
    w.layer(u"Фон").channels = 1;
}

void addKinds(PsdWriter& w) {
    for (const auto kind : {hv::psd::LayerKind::Text, hv::psd::LayerKind::SmartObject, hv::psd::LayerKind::Shape,
                            hv::psd::LayerKind::Fill, hv::psd::LayerKind::Adjustment}) {
        auto& l = w.layer(u"K");
        l.content = kind;
        l.text = u"Grüße\r文字";
        l.channels = 0;
        l.blendingRangesBytes = 0;
    }
    w.beginGroup(u"G").hidden = true;
    w.endGroup();
}

using Seed = std::pair<std::string, std::function<void(PsdWriter&)>>;

// Seeds of the layer kinds, text and thumbnails.
std::vector<Seed> detailSeeds() {
    return {
        {"details.psd",
         [](PsdWriter& w) {
             addKinds(w);
             w.imageResources = {thumbnailResource(1036, bytesOf("\xFF\xD8\xFF\xD9"), 2, 2)};
         }},
        {"details.psb",
         [](PsdWriter& w) {
             w.format = Format::Psb;
             w.depth = 16;
             w.recordsPerBlock = 2;
             addKinds(w);
             w.imageResources = {thumbnailResource(1033, bytesOf("\xFF\xD8\xFF\xD9"), 2, 2)};
         }},
    };
}

// Each seed: a file name and what it adds to a small document.
std::vector<Seed> seedTable() {
    std::vector<Seed> seeds = {
        {"empty.psd", [](PsdWriter&) {}},
        {"groups.psd", [](PsdWriter& w) { addLayers(w); }},
        {"groups.psb",
         [](PsdWriter& w) {
             w.format = Format::Psb;
             addLayers(w);
         }},
        {"lr16.psd",
         [](PsdWriter& w) {
             w.depth = 16;
             addLayers(w);
         }},
        {"lr32.psb",
         [](PsdWriter& w) {
             w.format = Format::Psb;
             w.depth = 32;
             w.documentBlocksBefore = {ExtraBlock{"8BIM", "Mt32", {}, {}}};
             addLayers(w);
         }},
        {"pascal.psd",
         [](PsdWriter& w) {
             auto& l = w.layer(u"");
             l.writeUnicodeName = false;
             l.pascalName = "Caf\xE9";
             l.channels = 0;
         }},
        {"quirks.psd",
         [](PsdWriter& w) {
             w.negativeLayerCount = true;
             w.namePadding = 2;
             w.recordBlockPadding = BlockPadding::None;
             auto& l = w.layer(u"Last");
             l.unicodeNameLast = true;
             l.unicodeNameNul = true;
             l.channels = 0;
             l.blocks = {ExtraBlock{"8BIM", "shmd", bytesOf("8BIMxxxx"), {}}};
             w.beginGroup(u"Nested").nestedDividerKey = true;
             w.endGroup().nestedDividerKey = true;
         }},
        {"widths.psb",
         [](PsdWriter& w) {
             w.format = Format::Psb;
             auto& l = w.layer(u"Filter");
             l.channels = 0;
             l.blocks = {ExtraBlock{"8BIM", "FXid", bytesOf("abcd"), ExtraBlock::Width::Narrow},
                         ExtraBlock{"8B64", "abcd", bytesOf("efgh"), ExtraBlock::Width::Wide}};
             w.omitGlobalMask = true;
             w.documentBlockPadding = BlockPadding::None;
             w.documentBlocksAfter = {ExtraBlock{"8BIM", "Patt", bytesOf("p"), {}}};
         }},
    };
    for (Seed& seed : detailSeeds()) seeds.push_back(std::move(seed));
    return seeds;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: psd_fuzz_seeds OUTPUT_FOLDER\n");
        return 2;
    }
    const std::filesystem::path out = argv[1];
    std::filesystem::create_directories(out);
    try {
        for (const auto& [name, build] : seedTable()) {
            PsdWriter w = small(Format::Psd);
            build(w);
            w.writeFile((out / name).string());
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "psd_fuzz_seeds: %s\n", e.what());
        return 1;
    }
    return 0;
}
