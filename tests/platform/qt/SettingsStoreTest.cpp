#include "platform/qt/QSettingsStore.h"
#include "support/TempDir.h"

#include "platform/Failure.h"

#include <QFile>
#include <QSettings>

#include <gtest/gtest.h>

#include <cstdlib>

namespace hv::test {
namespace {

TEST(SettingsStore, ReadsDefaultsUntilWrittenAndEveryStoreSeesTheValue) {
    TempDir dir;
    const QString file = dir.path("settings.ini");
    QSettingsStore first(file);
    EXPECT_EQ(first.readSetting("Extension", "psd"), "psd");
    EXPECT_EQ(first.readSetting("LastFolder", ""), "");
    EXPECT_FALSE(QFile::exists(file)) << "reading must not create the store";

    first.writeSetting("Extension", "txt");
    first.writeSetting("LastFolder", "/home/me/Art work");
    EXPECT_EQ(first.readSetting("Extension", "psd"), "txt");

    QSettingsStore second(file);
    EXPECT_EQ(second.readSetting("Extension", "psd"), "txt");
    EXPECT_EQ(second.readSetting("LastFolder", ""), "/home/me/Art work");
    second.writeSetting("Extension", "*");
    EXPECT_EQ(first.readSetting("Extension", "psd"), "*");

    QSettings raw(file, QSettings::IniFormat);
    EXPECT_EQ(raw.value("Halvorine/Extension").toString(), "*");
}

TEST(SettingsStore, AWriteThatCannotBeStoredIsAFailure) {
    TempDir dir;
    dir.file("blocker", "a file where a folder should be");
    QSettingsStore store(dir.path("blocker/settings.ini"));
    EXPECT_THROW(store.writeSetting("Extension", "psd"), Failure);
    EXPECT_EQ(store.readSetting("Extension", "psd"), "psd");
}

TEST(SettingsStore, PerUserStoreLivesInTheUsersConfigurationFolder) {
    TempDir home;
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    QSettingsStore store;
    store.writeSetting("LastFolder", "/srv/art");
    EXPECT_EQ(QSettingsStore().readSetting("LastFolder", ""), "/srv/art");
    EXPECT_TRUE(QFile::exists(home.path("Trellwick/Trellwick.conf")));
    if (saved.isEmpty())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", saved);
}

} // namespace
} // namespace hv::test
