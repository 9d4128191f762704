#pragma once

#include <QString>

namespace hv {

// The desktop's shell: web addresses, folders and documents opened with the
// user's default applications. Each call returns whether the desktop took it.
class DesktopShell {
public:
    virtual ~DesktopShell() = default;
    virtual bool openUrl(const QString& address) = 0;
    virtual bool openFolder(const QString& folder) = 0;
    virtual bool openDocument(const QString& path) = 0;
};

} // namespace hv
