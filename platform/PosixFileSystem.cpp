#include "PosixFileSystem.h"

#include <QFile>

#include <sys/stat.h>

namespace hv {

bool PosixFileSystem::isExistingPath(const QString& path) {
    if (path.isEmpty()) return false;
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0;
}

} // namespace hv
