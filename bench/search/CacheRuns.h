#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

namespace hv::bench {

// The runs read every document (HALVORINE_CACHE=off) unless useLayerCache()
// names a cache folder; the child processes inherit the choice.
void readEveryDocument();
// Runs after this search through the layer cache under `cacheHome`
// (XDG_CACHE_HOME).
void useLayerCache(const QString& cacheHome);

// Bytes of the files under `folder`.
std::uint64_t folderBytes(const QString& folder);

// The floor of a repeated search: one status request per document, K of
// them in flight on K threads; seconds.
double statFloor(const QStringList& paths, int inFlight);

} // namespace hv::bench
