#pragma once

#include "FileSystem.h"

namespace hv {

// The file system of this machine.
class PosixFileSystem : public FileSystem {
public:
    bool isExistingPath(const QString& path) override;
};

} // namespace hv
