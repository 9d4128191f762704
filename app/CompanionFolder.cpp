#include "CompanionFolder.h"

#include <QDir>
#include <QFileInfo>

namespace hv {

namespace {

bool holdsCompanionFiles(const QString& folder) {
    for (const char* name : {"HAND-M.CUR", "drag.ico", "Samples"})
        if (QFileInfo::exists(folder + QLatin1Char('/') + QLatin1String(name))) return true;
    return false;
}

} // namespace

QString companionFolder(const QString& executableFolder, const QString& installedRelative) {
    if (holdsCompanionFiles(executableFolder)) return executableFolder;
    const QString installed = QDir::cleanPath(executableFolder + QLatin1Char('/') + installedRelative);
    if (!installedRelative.isEmpty() && holdsCompanionFiles(installed)) return installed;
    return executableFolder;
}

} // namespace hv
