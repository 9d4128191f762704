#include "TestFileSystems.h"

#include "core/Wildcard.h"
#include "platform/qt/PosixFileSystemWorkers.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace hv::test {

namespace {

bool byNameWithoutCase(const QString& a, const QString& b) {
    const int order = QString::compare(a, b, Qt::CaseInsensitive);
    return order != 0 ? order < 0 : a < b;
}

} // namespace

QString FakeFileSystem::key(const QString& path) const {
    const QChar separator = separatorOf(style_);
    QString result;
    for (const QChar c : path)
        if (c != separator || !result.endsWith(separator)) result += c;
    while (result.size() > 1 && result.endsWith(separator)) result.chop(1);
    return result;
}

void FakeFileSystem::addRoot(const QString& path, int attributes) {
    addFolder(path, attributes);
    roots_.insert(key(path));
}

void FakeFileSystem::addFolder(const QString& path, int attributes) {
    entries_[key(path)] = Entry{true, attributes, nextId_++};
}

void FakeFileSystem::addFile(const QString& path, int attributes) {
    entries_[key(path)] = Entry{false, attributes, nextId_++};
}

void FakeFileSystem::failListing(const QString& folder, int error, int listedBeforeFailure) {
    failures_[key(folder)] = {error, listedBeforeFailure};
}

void FakeFileSystem::attributesVanishAfter(const QString& path, int reads) {
    readsLeft_[key(path)] = reads;
}

const FakeFileSystem::Entry* FakeFileSystem::find(const QString& path) const {
    const auto found = entries_.constFind(key(path));
    return found == entries_.constEnd() ? nullptr : &found.value();
}

QStringList FakeFileSystem::children(const QString& folder, bool folders) const {
    QString prefix = key(folder);
    if (!prefix.endsWith(separatorOf(style_))) prefix += separatorOf(style_);
    QStringList names;
    for (auto it = entries_.constBegin(); it != entries_.constEnd(); ++it) {
        if (!it.key().startsWith(prefix) || it.value().folder != folders) continue;
        const QString rest = it.key().mid(prefix.size());
        if (!rest.isEmpty() && !rest.contains(separatorOf(style_))) names.append(rest);
    }
    std::sort(names.begin(), names.end(), byNameWithoutCase);
    return names;
}

bool FakeFileSystem::isExistingPath(const QString& path) {
    const std::lock_guard lock(mutex_);
    return find(path) != nullptr;
}

int FakeFileSystem::attributes(const QString& path) {
    const std::lock_guard lock(mutex_);
    const Entry* entry = find(path);
    if (!entry) return -1;
    const auto left = readsLeft_.find(key(path));
    if (left != readsLeft_.end()) {
        if (left.value() == 0) return -1;
        --left.value();
    }
    return entry->attributes;
}

bool FakeFileSystem::isExistingFile(const QString& path) {
    const std::lock_guard lock(mutex_);
    const Entry* entry = find(path);
    return entry && !entry->folder;
}

bool FakeFileSystem::isRootFolder(const QString& path) {
    const std::lock_guard lock(mutex_);
    return roots_.contains(key(path));
}

std::optional<FolderId> FakeFileSystem::folderId(const QString& path) {
    const std::lock_guard lock(mutex_);
    const Entry* entry = find(path);
    if (!entry || !entry->folder) return std::nullopt;
    return FolderId{0, entry->id};
}

FolderListing FakeFileSystem::listFolder(const QString& folder, const QString& filePattern) {
    const std::lock_guard lock(mutex_);
    FolderListing listing;
    const Entry* entry = find(folder);
    if (!entry || !entry->folder) {
        listing.error = listing::PathNotFound;
        return listing;
    }
    const QChar separator = separatorOf(style_);
    QStringList names = children(folder, true);
    const auto failure = failures_.constFind(key(folder));
    if (failure != failures_.constEnd()) {
        listing.error = failure.value().first;
        listing.description = QStringLiteral("listing failed");
        names = names.mid(0, failure.value().second);
    }
    for (const QString& name : names)
        listing.folders.push_back(SubFolder{name, FolderId{0, find(key(folder) + separator + name)->id}});
    // A refused listing reads no name; other failures, here, every file.
    if (filePattern.isEmpty() || listing.error == listing::PermissionDenied) return listing;
    for (const QString& name : children(folder, false))
        if (matchesWildcard(name, filePattern)) listing.files.append(name);
    return listing;
}

std::unique_ptr<QueryRun> FakeFileSystem::startQueries(std::size_t count, QueryJob job) {
    if (!workers_) return FileSystem::startQueries(count, std::move(job));
    return workers_->start(count, [count, job = std::move(job)](std::size_t index) {
        std::this_thread::sleep_for(std::chrono::microseconds(100 * ((count - index) % 16)));
        job(index);
    });
}

bool DenyingFileSystem::isDenied(const QString& folder) const {
    QString path = folder;
    while (path.size() > 1 && path.endsWith(QLatin1Char('/'))) path.chop(1);
    return denied.contains(path);
}

FolderListing DenyingFileSystem::listFolder(const QString& folder, const QString& filePattern) {
    ++listings;
    if (!isDenied(folder)) return PosixFileSystem::listFolder(folder, filePattern);
    FolderListing listing;
    listing.error = listing::PermissionDenied;
    listing.description = QStringLiteral("Permission denied");
    return listing;
}

} // namespace hv::test
