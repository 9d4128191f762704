#pragma once

#include "WalkFileSystem.h"

#include <string>
#include <string_view>
#include <vector>

namespace hv::find {

class ErrorLog;

// A path as halvorine-find writes it into text (every output but -0's, and
// the error lines): each byte that is not part of valid UTF-8 as "\xHH",
// the rest as it is. -0 writes paths as they are.
std::string shownPath(std::string_view bytes);

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
