#include "QSettingsStore.h"

#include "platform/Failure.h"

#include <QSettings>

#include <memory>

namespace hv {

namespace {

const QString kApplication = QStringLiteral("Trellwick");
const QString kSection = QStringLiteral("Halvorine");

std::unique_ptr<QSettings> open(const QString& filePath) {
    if (filePath.isEmpty())
        return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, kApplication, kApplication);
    return std::make_unique<QSettings>(filePath, QSettings::IniFormat);
}

} // namespace

QSettingsStore::QSettingsStore() = default;
QSettingsStore::QSettingsStore(QString filePath) : filePath_(std::move(filePath)) {}

QString QSettingsStore::readSetting(const QString& key, const QString& defaultValue) {
    auto settings = open(filePath_);
    settings->beginGroup(kSection);
    const QVariant value = settings->value(key);
    if (!value.isValid()) return defaultValue;
    return value.toString();
}

void QSettingsStore::writeSetting(const QString& key, const QString& value) {
    auto settings = open(filePath_);
    if (!settings->isWritable())
        throw Failure(
            QStringLiteral("Could not save the setting \"%1\": %2 is not writable").arg(key, settings->fileName()));
    settings->beginGroup(kSection);
    settings->setValue(key, value);
    settings->endGroup();
    settings->sync();
    if (settings->status() != QSettings::NoError)
        throw Failure(QStringLiteral("Could not save the setting \"%1\" in %2").arg(key, settings->fileName()));
}

} // namespace hv
