// Name decoding and the byte sources under the reader.

#include "TestDocuments.h"

#include "psd/ByteSource.h"
#include "psd/Text.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

namespace hv::psd {
namespace {

TEST(PascalNames, ValidUtf8IsDecodedAsUtf8) {
    EXPECT_EQ(decodePascalName("Layer 1"), u"Layer 1");
    EXPECT_EQ(decodePascalName("\xD0\xA4\xD0\xBE\xD0\xBD"), u"Фон");
    EXPECT_EQ(decodePascalName("\xF0\x9F\x91\xBD"), u"\U0001F47D");
}

TEST(PascalNames, AnythingElseIsWindows1252) {
    EXPECT_EQ(decodePascalName("\xD4\xEE\xED"), u"\u00D4\u00EE\u00ED");
    EXPECT_EQ(decodePascalName("\x80 \x9F \x81"), u"\u20AC \u0178 \u0081");
    // Overlong forms, encoded surrogates and cut-off sequences are not UTF-8.
    EXPECT_EQ(decodePascalName("\xC0\xAF"), u"\u00C0\u00AF");
    EXPECT_EQ(decodePascalName("\xED\xA0\x80"), u"\u00ED\u00A0\u20AC");
    EXPECT_EQ(decodePascalName("ab\xE2\x82"), u"ab\u00E2\u201A");
}

TEST(Utf8, SurrogatePairsBecomeOneCharacterAndLoneOnesAreReplaced) {
    EXPECT_EQ(toUtf8(u"\U0001F47D"), "\xF0\x9F\x91\xBD");
    EXPECT_EQ(toUtf8(u"Фон"), "\xD0\xA4\xD0\xBE\xD0\xBD");
    EXPECT_EQ(toUtf8(std::u16string(1, char16_t{0xD800}) + u"x"), "\xEF\xBF\xBDx");
    EXPECT_EQ(toUtf8(std::u16string(1, char16_t{0xDC00})), "\xEF\xBF\xBD");
}

TEST(WindowedSource, ServesExactlyTheBytesOfItsSource) {
    std::vector<std::byte> data(50000);
    std::mt19937 random(7);
    for (auto& b : data) b = static_cast<std::byte>(random());
    MemorySource direct(data);
    WindowedSource windowed(direct, 4096);
    std::uniform_int_distribution<std::size_t> length(0, 9000);
    for (int i = 0; i < 2000; ++i) {
        const std::size_t n = length(random);
        const std::size_t offset = std::uniform_int_distribution<std::size_t>(0, data.size() - n)(random);
        std::vector<std::byte> out(n);
        std::string error;
        ASSERT_TRUE(windowed.readAt(offset, out, error)) << error;
        ASSERT_TRUE(std::equal(out.begin(), out.end(), data.begin() + static_cast<std::ptrdiff_t>(offset)))
            << "offset " << offset << " length " << n;
    }
    std::vector<std::byte> past(2);
    std::string error;
    EXPECT_FALSE(windowed.readAt(data.size() - 1, past, error));
}

TEST(FileSource, CountsWhatItReadsAndNamesWhatItCannotOpen) {
    test::ScratchDir dir;
    const std::string path = dir.file("bytes");
    std::ofstream(path) << "0123456789";
    std::string error;
    auto file = FileSource::open(path, error);
    ASSERT_TRUE(file) << error;
    EXPECT_EQ(file->size(), 10u);
    std::vector<std::byte> out(4);
    ASSERT_TRUE(file->readAt(6, out, error)) << error;
    EXPECT_EQ(static_cast<char>(out[0]), '6');
    EXPECT_EQ(file->bytesFetched(), 4u);

    EXPECT_FALSE(FileSource::open(dir.file("missing"), error));
    EXPECT_EQ(error, "cannot open the file: No such file or directory");
    EXPECT_FALSE(FileSource::open(dir.file(""), error));
    EXPECT_EQ(error, "this is a folder, not a document");
    EXPECT_FALSE(FileSource::open("", error));
    EXPECT_EQ(error, "no file name given");
}

} // namespace
} // namespace hv::psd
