#include "app/CompanionFolder.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace hv {
namespace {

TEST(CompanionFolder, BesideTheProgramInABuildTreeElseInTheInstalledDataFolder) {
    struct Row {
        const char* layout; // files made under a scratch root
        const char* executableFolder;
        const char* expected;
    };
    const Row rows[] = {
        {"build/bin/HAND-M.CUR", "build/bin", "build/bin"},
        {"stage/usr/share/halvorine/Samples/a.psd", "stage/usr/bin", "stage/usr/share/halvorine"},
        {"stage/usr/share/halvorine/drag.ico", "stage/usr/bin", "stage/usr/share/halvorine"},
        {"both/usr/bin/drag.ico,both/usr/share/halvorine/drag.ico", "both/usr/bin", "both/usr/bin"},
        {"none/usr/share/other/HAND-M.CUR", "none/usr/bin", "none/usr/bin"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.layout);
        test::TempDir root;
        root.folder(QString::fromUtf8(row.executableFolder));
        for (const QString& file : QString::fromUtf8(row.layout).split(QLatin1Char(','))) root.file(file);
        EXPECT_EQ(
            companionFolder(root.path(QString::fromUtf8(row.executableFolder)), QStringLiteral("../share/halvorine")),
            root.path(QString::fromUtf8(row.expected)));
    }
}

} // namespace
} // namespace hv
