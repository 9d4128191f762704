// psdlayers [--details] FILE...
//
// Prints the layer items of each document, one line per item, topmost first:
//     path<TAB>index<TAB>name
// with the index counted from 1 and the name in UTF-8 (control characters
// written as \t, \n, \r or \xNN so that every item stays on one line, and a
// backslash as \\).
// With --details each line also tells the item's kind, its visibility and
// the names of the groups around it:
//     path<TAB>index<TAB>kind<TAB>visible|hidden<TAB>group / path<TAB>name
// A document that cannot be read gives one line instead:
//     path<TAB>ERROR<TAB>description
// Exits 0 when every document was read, 1 otherwise, 2 on a usage error.

#include "find/ConsoleText.h"
#include "psd/LayerReader.h"
#include "psd/Text.h"

#include <cstdio>
#include <string>

namespace {

std::string details(const hv::psd::Document& document, std::size_t index) {
    const hv::psd::LayerItem& item = document.items[index];
    std::string path;
    for (const std::u16string& group : document.groupPath(index)) {
        if (!path.empty()) path += " / ";
        path += hv::console::escapeField(hv::psd::toUtf8(group));
    }
    return std::string(hv::psd::kindName(item.layerKind)) + "\t" + (item.visible ? "visible" : "hidden") + "\t" + path
           + "\t";
}

} // namespace

int main(int argc, char** argv) {
    const bool withDetails = argc > 1 && std::string(argv[1]) == "--details";
    const int first = withDetails ? 2 : 1;
    if (argc <= first) {
        std::fputs("usage: psdlayers FILE...\n"
                   "       psdlayers --details FILE...\n"
                   "Prints \"path<TAB>index<TAB>name\" for every layer item of each PSD/PSB file,\n"
                   "topmost first, or \"path<TAB>ERROR<TAB>description\" for a file that cannot be read.\n"
                   "--details adds kind, visible|hidden and the group path before the name.\n",
                   stderr);
        return 2;
    }
    bool allRead = true;
    for (int i = first; i < argc; ++i) {
        const std::string path = argv[i];
        const hv::psd::ReadResult result = hv::psd::readLayerItems(path);
        if (!result.ok()) {
            allRead = false;
            std::printf("%s\tERROR\t%s\n", path.c_str(), hv::console::escapeControls(result.error().message).c_str());
            continue;
        }
        const hv::psd::Document& document = result.document();
        for (std::size_t index = 0; index < document.items.size(); ++index) {
            const std::string middle = withDetails ? details(document, index) : std::string();
            std::printf("%s\t%zu\t%s%s\n", path.c_str(), index + 1, middle.c_str(),
                        hv::console::escapeField(hv::psd::toUtf8(document.items[index].name)).c_str());
        }
    }
    return std::fflush(stdout) == 0 && allRead ? 0 : 1;
}
