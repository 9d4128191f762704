#pragma once

// Helpers shared by the reader's tests.

#include "psd/LayerReader.h"
#include "psd/testing/PsdWriter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace hv::psd::test {

// Reads a writer's document from memory; a failure is reported and yields no items.
inline std::vector<std::u16string> namesOf(const testing::PsdWriter& writer) {
    const std::vector<std::byte> bytes = writer.bytes();
    const ReadResult result = readLayerItems(bytes);
    EXPECT_TRUE(result.ok()) << result.error().message;
    return result.ok() ? result.document().names() : std::vector<std::u16string>{};
}

inline std::u16string toU16(std::string_view ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

inline ReadResult read(const testing::ByteBuilder& bytes) {
    return readLayerItems(bytes.data());
}

// A folder of its own under the system's temporary folder, removed at the end.
class ScratchDir {
public:
    ScratchDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "halvorine-psd-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create a scratch folder");
        path_ = pattern;
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

} // namespace hv::psd::test
