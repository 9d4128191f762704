#pragma once

#include "WalkFileSystem.h"

#include <string>
#include <vector>

namespace hv::find {

class ErrorLog;

// Turns the PATHs of the command line into documents: a folder gives the
// files of its tree in the order the folder scan adds them; any other path
// is a document as it stands. Paths are bytes, as the disk has them (any
// name is walked, UTF-8 or not). Failures of the walk go to the error log:
// "FOLDER: reason" for a folder that could not be listed or walked, "FILE:
// reason" for a file that could not be added.
class DocumentWalk {
public:
    DocumentWalk(FileSystem& fileSystem, const std::vector<std::string>& extensions, ErrorLog& errors);

    bool isFolder(const std::string& path);
    std::vector<std::string> documentsIn(const std::string& folder);

private:
    ErrorLog& errors_;
    WalkFileSystem fileSystem_;
};

} // namespace hv::find
