// K as the window takes it from HALVORINE_READ_AHEAD; -j follows the same
// rule (tests/find).
#include "psd/ReadAheadPolicy.h"

#include <gtest/gtest.h>

namespace hv::psd {
namespace {

TEST(ReadAheadPolicy, KComesFromTheEnvironmentWhenItNamesOne) {
    const std::size_t fallback = ReadAheadPolicy::defaultReadsInFlight;
    const std::string refused = "HALVORINE_READ_AHEAD wants a number of documents from 1 to 256; 64 are read";
    const struct {
        const char* value;
        std::size_t k;
        std::string warning;
    } rows[] = {
        {nullptr, fallback, ""},
        {"8", 8, ""},
        {" 1 ", 1, ""},
        {"0", fallback, refused},
        {"-4", fallback, refused},
        {"many", fallback, refused},
        {"300", 256, "HALVORINE_READ_AHEAD 300 is more than 256 documents at a time; 256 are read"},
        {"100000", ReadAheadPolicy::maxReadsInFlight,
         "HALVORINE_READ_AHEAD 100000 is more than 256 documents at a time; 256 are read"},
    };
    for (const auto& row : rows) {
        std::string warning;
        const ReadAheadPolicy policy = readAheadPolicy(row.value, warning);
        EXPECT_EQ(policy.readsInFlight, row.k) << (row.value ? row.value : "(unset)");
        EXPECT_EQ(policy.byteBudget, ReadAheadPolicy::defaultByteBudget);
        EXPECT_EQ(warning, row.warning);
    }
}

} // namespace
} // namespace hv::psd
