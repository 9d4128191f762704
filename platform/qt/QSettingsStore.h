#pragma once

#include "platform/SettingsStore.h"

#include <QString>

namespace hv {

// The settings store on QSettings: per user, organization and application
// "Trellwick", group "Halvorine". Every call opens the store afresh, so a
// value written by one object is seen by every other.
class QSettingsStore : public SettingsStore {
public:
    // The user's native settings location.
    QSettingsStore();
    // An INI file at `filePath` (tests and portable use).
    explicit QSettingsStore(QString filePath);

    QString readSetting(const QString& key, const QString& defaultValue) override;
    void writeSetting(const QString& key, const QString& value) override;

private:
    QString filePath_;
};

} // namespace hv
