#pragma once

#include <QString>

namespace hv {

// Something the folder scan could not do. The scan goes on after each.
struct ScanFailure {
    enum class Kind {
        Listing,   // `path` is a folder whose listing failed; what was read before is used
        Statement, // statement `statement` of GetSubDirectories2016 failed on the folder `path`
        File,      // AddFolderFiles could not add the file `path`
    };
    Kind kind = Kind::Listing;
    QString path;
    QString reason;
    int statement = 0;
};

// Where the folder scan sends what it finds, on the thread that runs the
// scan, in the order of the scan: each matching file, under the path the
// file list shows, and each failure. The window adds the files to its list
// and shows failures as its error trap does; halvorine-find prints both.
class FolderScanOutput {
public:
    virtual ~FolderScanOutput() = default;
    virtual void found(const QString& path) = 0;
    virtual void failed(const ScanFailure& failure) = 0;
};

} // namespace hv
