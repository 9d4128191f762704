#include "psd/detail/FileHeader.h"

#include "psd/detail/BlockChain.h"

#include <array>

namespace hv::psd::detail {

Header readFileHeader(SectionCursor& file) {
    ParseContext& context = file.context();
    Header header;
    if (context.fileSize() == 0) {
        context.fail(0, "the file is empty, so it is not a Photoshop document");
        return header;
    }
    std::array<std::byte, 4> signature{};
    if (!file.peek(0, signature) || bigEndian(signature) != 0x38425053) {
        // A read that failed has said so already; this keeps the first.
        context.fail(0, "not a Photoshop document: the file does not start with the signature '8BPS'");
        return header;
    }
    file.skip(4, "signature");
    header.version = file.u16("version number");
    if (context.failed()) return header;
    if (header.version != 1 && header.version != 2) {
        context.fail(4, "unsupported Photoshop file version " + std::to_string(header.version)
                            + ": only version 1 (PSD) and version 2 (PSB, large document format) are known");
        return header;
    }
    file.skip(6, "reserved header field");
    header.channels = file.u16("channel count");
    header.height = file.u32("image height");
    header.width = file.u32("image width");
    header.depth = file.u16("bit depth");
    header.colorMode = file.u16("colour mode");
    return header;
}

} // namespace hv::psd::detail
