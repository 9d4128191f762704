#pragma once

#include <QString>

namespace hv {

// File-system queries. None of them reports an error: a query that fails
// answers false.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    // True when the date and time of last change of `path` can be read.
    virtual bool isExistingPath(const QString& path) = 0;
};

} // namespace hv
