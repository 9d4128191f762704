#include "FileNameOfPath.h"

namespace hv {

QString FileNameOfPath(const QString& path, QChar separator) {
    const qsizetype last = path.lastIndexOf(separator);
    return last < 0 ? path : path.mid(last + 1);
}

} // namespace hv
