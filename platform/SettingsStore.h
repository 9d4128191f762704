#pragma once

#include <QString>

namespace hv {

// Per-user persistent texts under application "Trellwick", section
// "Halvorine". writeSetting throws hv::Failure when the value could not be
// stored.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual QString readSetting(const QString& key, const QString& defaultValue) = 0;
    virtual void writeSetting(const QString& key, const QString& value) = 0;
};

} // namespace hv
