#include "PosixFileSystem.h"

#include "core/Wildcard.h"
#include "platform/PathBytes.h"

#include <algorithm>
#include <cerrno>
#include <climits>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace hv {

namespace {

QByteArray encoded(const QString& path) {
    return pathBytes(path);
}

// The path without trailing "/", so that a link is examined as a link; "/"
// itself stays.
QString withoutTrailingSlashes(const QString& path) {
    qsizetype end = path.size();
    while (end > 1 && path[end - 1] == QLatin1Char('/')) --end;
    return path.left(end);
}

bool hasHiddenName(const QString& path) {
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    return name.startsWith(QLatin1Char('.')) && name != QLatin1String(".") && name != QLatin1String("..");
}

bool isReadOnly(const QByteArray& path, const struct stat& info, bool superuser) {
    if (::faccessat(AT_FDCWD, path.constData(), W_OK, AT_EACCESS) != 0) return true;
    // The superuser may write anything; for it an entry that grants no one
    // write permission counts as read-only, as a file manager shows it.
    return superuser && (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

// A directory opened for reading its entries; never waits on a pipe or a
// device, since O_DIRECTORY refuses anything that is not a directory before
// opening it.
class Directory {
public:
    explicit Directory(const QString& folder) {
        const int fd = ::open(encoded(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
        if (fd < 0) {
            error_ = errno;
            return;
        }
        dir_ = ::fdopendir(fd);
        if (!dir_) {
            error_ = errno;
            ::close(fd);
        }
    }
    ~Directory() {
        if (dir_) ::closedir(dir_);
    }
    Directory(const Directory&) = delete;
    Directory& operator=(const Directory&) = delete;

    bool isOpen() const { return dir_ != nullptr; }
    int error() const { return error_; }
    int fd() const { return ::dirfd(dir_); }

    // The next entry other than "." and "..", or nullptr at the end or on a
    // failure (then error() is set).
    const dirent* next() {
        for (;;) {
            errno = 0;
            const dirent* entry = ::readdir(dir_);
            if (!entry) {
                error_ = errno;
                return nullptr;
            }
            const char* name = entry->d_name;
            if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) continue;
            return entry;
        }
    }

private:
    DIR* dir_ = nullptr;
    int error_ = 0;
};

// Whether the entry is a folder, following a symbolic link; fills `info`.
bool entryIsFolder(const Directory& dir, const dirent& entry, struct stat& info) {
    if (entry.d_type != DT_DIR && entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return false;
    return ::fstatat(dir.fd(), entry.d_name, &info, 0) == 0 && S_ISDIR(info.st_mode);
}

bool byNameWithoutCase(const QString& a, const QString& b) {
    const int order = QString::compare(a, b, Qt::CaseInsensitive);
    return order != 0 ? order < 0 : a < b;
}

void setListingError(FolderListing& listing, int error) {
    switch (error) {
    case EACCES:
    case EPERM:
        listing.error = listing::PermissionDenied;
        listing.description = QStringLiteral("Permission denied");
        break;
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        listing.error = listing::PathNotFound;
        listing.description = QStringLiteral("Path not found");
        break;
    default:
        listing.error = listing::PathFileAccessError;
        listing.description = QStringLiteral("Path/File access error");
        break;
    }
}

} // namespace

PosixFileSystem::PosixFileSystem(std::size_t queryThreads)
    : superuser_(::geteuid() == 0),
      queryThreads_(queryThreads),
      workers_(queryThreads) {}

bool PosixFileSystem::isExistingPath(const QString& path) {
    if (path.isEmpty()) return false;
    struct stat info {};
    return ::stat(encoded(path).constData(), &info) == 0;
}

qsizetype PosixFileSystem::pathLengthLimit() const {
    return PATH_MAX;
}

qsizetype PosixFileSystem::pathLength(const QString& path) const {
    return encoded(path).size();
}

int PosixFileSystem::attributes(const QString& path) {
    if (path.isEmpty()) return -1;
    const QString trimmed = withoutTrailingSlashes(path);
    const QByteArray bytes = encoded(trimmed);
    struct stat info {};
    if (::lstat(bytes.constData(), &info) != 0) return -1;
    int value = 0;
    bool haveTarget = true;
    if (S_ISLNK(info.st_mode)) {
        value |= attr::Alias;
        haveTarget = ::stat(bytes.constData(), &info) == 0;
    }
    if (haveTarget) {
        if (S_ISDIR(info.st_mode))
            value |= attr::Folder;
        else if (S_ISREG(info.st_mode))
            value |= attr::Archive;
        if (isReadOnly(bytes, info, superuser_)) value |= attr::ReadOnly;
    }
    if (hasHiddenName(trimmed)) value |= attr::Hidden;
    return value;
}

bool PosixFileSystem::isExistingFile(const QString& path) {
    if (path.isEmpty()) return false;
    struct stat info {};
    return ::stat(encoded(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

bool PosixFileSystem::isRootFolder(const QString& path) {
    struct stat root {};
    const std::optional<FolderId> id = folderId(path);
    return id && ::stat("/", &root) == 0
           && *id == FolderId{static_cast<std::uint64_t>(root.st_dev), static_cast<std::uint64_t>(root.st_ino)};
}

std::optional<FolderId> PosixFileSystem::folderId(const QString& path) {
    if (path.isEmpty()) return std::nullopt;
    struct stat info {};
    if (::stat(encoded(path).constData(), &info) != 0 || !S_ISDIR(info.st_mode)) return std::nullopt;
    return FolderId{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

FolderListing PosixFileSystem::listFolder(const QString& folder, const QString& filePattern) {
    FolderListing listing;
    Directory dir(folder);
    if (!dir.isOpen()) {
        setListingError(listing, dir.error());
        return listing;
    }
    while (const dirent* entry = dir.next()) {
        struct stat info {};
        QString name = pathText(entry->d_name);
        if (entryIsFolder(dir, *entry, info))
            listing.folders.push_back(SubFolder{std::move(name), FolderId{static_cast<std::uint64_t>(info.st_dev),
                                                                          static_cast<std::uint64_t>(info.st_ino)}});
        else if (!filePattern.isEmpty() && matchesWildcard(name, filePattern))
            listing.files.append(std::move(name));
    }
    if (dir.error() != 0) setListingError(listing, dir.error());
    std::sort(listing.folders.begin(), listing.folders.end(),
              [](const SubFolder& a, const SubFolder& b) { return byNameWithoutCase(a.name, b.name); });
    std::sort(listing.files.begin(), listing.files.end(), byNameWithoutCase);
    return listing;
}

std::unique_ptr<QueryRun> PosixFileSystem::startQueries(std::size_t count, QueryJob job) {
    // With workers, even a run of one job goes to a worker, so that the
    // caller can wait for a share that does not answer in slices, with its
    // window live. Without them, the caller runs the jobs itself.
    if (queryThreads_ <= 1) return FileSystem::startQueries(count, std::move(job));
    return workers_.start(count, std::move(job));
}

} // namespace hv
