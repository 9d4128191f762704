#pragma once

#include <QString>

namespace hv {

// The folder that holds the program's companion files: the hand cursor
// "HAND-M.CUR", the row-drag pointer "drag.ico" and the "Samples" folder.
//
// A build tree keeps them beside the executable; an installed program keeps
// them in its data folder, `installedRelative` away from the executable's
// folder ("../share/halvorine" for bin/ and share/ under one prefix, so the
// rule holds for any prefix and in a staging root). The first of the two
// that holds any companion file is taken; when neither does, the
// executable's folder, where every companion file is then simply missing.
QString companionFolder(const QString& executableFolder, const QString& installedRelative);

} // namespace hv
