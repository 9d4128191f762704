// psdlayers FILE...
//
// Prints the layer items of each document, one line per item, topmost first:
//     path<TAB>index<TAB>name
// with the index counted from 1 and the name in UTF-8 (control characters
// written as \t, \n, \r or \xNN so that every item stays on one line). A
// document that cannot be read gives one line instead:
//     path<TAB>ERROR<TAB>description
// Exits 0 when every document was read, 1 otherwise, 2 on a usage error.

#include "psd/LayerReader.h"
#include "psd/Text.h"

#include <cstdio>
#include <string>

namespace {

std::string printable(const std::string& utf8) {
    std::string out;
    for (const char c : utf8) {
        const auto b = static_cast<unsigned char>(c);
        if (b == '\t') {
            out += "\\t";
        } else if (b == '\n') {
            out += "\\n";
        } else if (b == '\r') {
            out += "\\r";
        } else if (b < 0x20 || b == 0x7F) {
            static const char hex[] = "0123456789ABCDEF";
            out += "\\x";
            out += hex[b >> 4];
            out += hex[b & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: psdlayers FILE...\n"
                   "Prints \"path<TAB>index<TAB>name\" for every layer item of each PSD/PSB file,\n"
                   "topmost first, or \"path<TAB>ERROR<TAB>description\" for a file that cannot be read.\n",
                   stderr);
        return 2;
    }
    bool allRead = true;
    for (int i = 1; i < argc; ++i) {
        const std::string path = argv[i];
        const hv::psd::ReadResult result = hv::psd::readLayerItems(path);
        if (!result.ok()) {
            allRead = false;
            std::printf("%s\tERROR\t%s\n", path.c_str(), printable(result.error().message).c_str());
            continue;
        }
        std::size_t index = 0;
        for (const hv::psd::LayerItem& item : result.document().items) {
            std::printf("%s\t%zu\t%s\n", path.c_str(), ++index, printable(hv::psd::toUtf8(item.name)).c_str());
        }
    }
    return std::fflush(stdout) == 0 && allRead ? 0 : 1;
}
