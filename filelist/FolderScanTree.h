#pragma once

#include "FolderScanOutput.h"

#include <QString>

namespace hv {

class EventPump;
class FileSystem;

// AddFolderFiles without a list: sends to `output` every file of the tree
// below `topFolder` whose name matches `pattern`, folder by folder in level
// order, skipping names that begin with "~" and files whose attribute value
// is exactly hidden + archive (34), and every failure on the way.
//
// Each folder of the tree is read once. A folder reached a second time in
// the same scan (a symbolic-link loop, two links to one folder) is not walked
// again, so a scan always ends and sends every file of the tree once.
void scanFolderTree(FileSystem& fileSystem, EventPump& events, FolderScanOutput& output, const QString& topFolder,
                    const QString& pattern);

} // namespace hv
