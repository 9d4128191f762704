#include "search/LayerNameMatch.h"

#include <gtest/gtest.h>

namespace hv {
namespace {

TEST(LayerNameContains, EmptySearchTextMatchesEveryNonEmptyNameAndAnEmptyNameNothing) {
    for (CaseOption option : {CaseOption::MatchCase, CaseOption::IgnoreCase}) {
        EXPECT_TRUE(LayerNameContains("Background", "", option));
        EXPECT_TRUE(LayerNameContains(" ", "", option));
        EXPECT_FALSE(LayerNameContains("", "", option));
        EXPECT_FALSE(LayerNameContains("", "a", option));
        EXPECT_FALSE(LayerNameContains(QString(), QString(), option));
    }
}

TEST(LayerNameContains, MatchCaseComparesCodeByCode) {
    EXPECT_TRUE(LayerNameContains("Logo copy", "Logo", CaseOption::MatchCase));
    EXPECT_TRUE(LayerNameContains("Logo copy", "copy", CaseOption::MatchCase));
    EXPECT_TRUE(LayerNameContains("Logo copy", "o c", CaseOption::MatchCase));
    EXPECT_FALSE(LayerNameContains("Logo copy", "logo", CaseOption::MatchCase));
    EXPECT_FALSE(LayerNameContains("LOGO", "logo", CaseOption::MatchCase));
    EXPECT_FALSE(LayerNameContains("Logo", "Logo copy", CaseOption::MatchCase));
    // Blanks count; nothing is trimmed.
    EXPECT_FALSE(LayerNameContains("Logo", " Logo", CaseOption::MatchCase));
    EXPECT_FALSE(LayerNameContains("Layer 1", "Layer  1", CaseOption::MatchCase));
    // Composed and decomposed forms are different codes.
    EXPECT_FALSE(
        LayerNameContains(QString::fromUtf8("A\u0308rger"), QString::fromUtf8("\u00c4rger"), CaseOption::MatchCase));
}

TEST(LayerNameContains, IgnoreCaseLowerCasesBothSidesWithUnicodeMapping) {
    EXPECT_TRUE(LayerNameContains("LOGO copy", "logo", CaseOption::IgnoreCase));
    EXPECT_TRUE(LayerNameContains("logo", "LoGo", CaseOption::IgnoreCase));
    EXPECT_TRUE(
        LayerNameContains(QString::fromUtf8("\u00c4RGER"), QString::fromUtf8("\u00e4rger"), CaseOption::IgnoreCase));
    EXPECT_TRUE(LayerNameContains(QString::fromUtf8("\u0424\u043e\u043d"), QString::fromUtf8("\u0444\u041e\u041d"),
                                  CaseOption::IgnoreCase));
    EXPECT_FALSE(LayerNameContains("Logo", " logo", CaseOption::IgnoreCase));
    // One side ASCII, the other not: the Kelvin sign lower-cases to k.
    EXPECT_TRUE(LayerNameContains("KELVIN", QString::fromUtf8("\u212a"), CaseOption::IgnoreCase));
    EXPECT_TRUE(LayerNameContains(QString::fromUtf8("\u212aelvin"), "kEL", CaseOption::IgnoreCase));
    // Lower-casing, not case folding: the sharp s is not expanded.
    EXPECT_FALSE(LayerNameContains("STRASSE", QString::fromUtf8("stra\u00dfe"), CaseOption::IgnoreCase));
}

TEST(LayerNameContains, CharactersOutsideTheBasicPlaneAreFound) {
    const QString name = QString::fromUtf8("Smile \U0001F600 layer");
    EXPECT_TRUE(LayerNameContains(name, QString::fromUtf8("\U0001F600"), CaseOption::MatchCase));
    EXPECT_TRUE(LayerNameContains(name, QString::fromUtf8("\U0001F600 LAYER"), CaseOption::IgnoreCase));
}

TEST(LayerNameContains, WithNeitherOptionNothingMatches) {
    EXPECT_FALSE(LayerNameContains("Logo", "Logo", CaseOption::Neither));
    EXPECT_FALSE(LayerNameContains("Logo", "", CaseOption::Neither));
}

} // namespace
} // namespace hv
