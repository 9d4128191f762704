#pragma once

#include <QCursor>
#include <QString>

namespace hv {

// Loads a Windows cursor (.cur) or icon (.ico) file as a pointer, keeping the
// hot spot a cursor file names. Throws hv::Failure when the file is not a
// picture.
QCursor loadCursorFile(const QString& path);

} // namespace hv
