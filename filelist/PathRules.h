#pragma once

#include "platform/FileSystem.h"

#include <QString>

namespace hv {

// NormalizePath: removes the doubled separators that joining a folder and a
// name can leave.
//
// Windows style: "\\" becomes "\" in one left-to-right pass over
// non-overlapping pairs (three backslashes become two, four become two). A
// path that starts with "\" is a network path: its leading run becomes
// exactly "\\" and the pass runs over the rest.
//
// Posix style: "//" becomes "/" in one left-to-right pass over the whole
// text; an absolute path never comes back starting with "//".
QString normalizePath(const QString& path, PathStyle style);

// Whether a folder name holds a character the folder scan refuses: a
// control character (below 32, or 127 to 159), "?", or U+FFFD. Bytes of a
// name that are not UTF-8 are no reason: the file system gives them as
// U+DC80..U+DCFF (see platform/PathBytes.h).
bool hasUnsafeCharacters(const QString& name);

// A path split at its last separator into the folder, as an open dialog
// names it (a root keeps its separator: "/" or "C:\"), and the name.
struct FolderAndName {
    QString folder;
    QString name;
};
FolderAndName splitFolderAndName(const QString& path, PathStyle style);

} // namespace hv
