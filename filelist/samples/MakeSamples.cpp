// Writes the sample documents that ship in the "Samples" folder beside the
// program: small 8-bit RGB documents whose layers are named so that the
// example search "Layer" finds some of them.
//
//     halvorine_make_samples <folder>

#include "psd/testing/PsdWriter.h"

#include <cstdio>
#include <exception>
#include <string>

namespace {

using hv::psd::testing::Layer;
using hv::psd::testing::PsdWriter;

constexpr std::uint32_t kSide = 8;

// A layer covering the whole canvas, with its pixels stored uncompressed.
void fill(Layer& layer) {
    layer.top = 0;
    layer.left = 0;
    layer.bottom = static_cast<std::int32_t>(kSide);
    layer.right = static_cast<std::int32_t>(kSide);
    layer.channels = 4;
    layer.channelDataBytes = kSide * kSide;
}

// Group headers and their end markers carry no pixels.
void empty(Layer& layer) {
    layer.top = layer.left = layer.bottom = layer.right = 0;
    layer.channelDataBytes = 0;
}

PsdWriter document() {
    PsdWriter writer;
    writer.channels = 3;
    writer.width = kSide;
    writer.height = kSide;
    writer.depth = 8;
    writer.colorMode = 3;
    writer.imageDataBytes = std::uint64_t{writer.channels} * kSide * kSide;
    return writer;
}

void poster(const std::string& path) {
    PsdWriter writer = document();
    fill(writer.layer(u"Title"));
    fill(writer.layer(u"Layer 1"));
    fill(writer.layer(u"Background"));
    writer.writeFile(path);
}

void logo(const std::string& path) {
    PsdWriter writer = document();
    fill(writer.layer(u"Layer 2"));
    fill(writer.layer(u"Shape 1"));
    fill(writer.layer(u"Layer 1"));
    writer.writeFile(path);
}

void banner(const std::string& path) {
    PsdWriter writer = document();
    empty(writer.beginGroup(u"Group 1"));
    fill(writer.layer(u"Text Layer"));
    fill(writer.layer(u"Layer 3"));
    empty(writer.endGroup());
    fill(writer.layer(u"Background"));
    writer.writeFile(path);
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    try {
        poster(folder + "/Poster.psd");
        logo(folder + "/Logo.psd");
        banner(folder + "/Banner.psd");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
