#pragma once

#include "cache/LayerCache.h"
#include "psd/ReadAhead.h"

#include <functional>
#include <memory>
#include <string>

namespace hv::cache {

// `reader` with the cache in front of it: one status request for the path,
// then the stored document when the file's stamp and the reader version
// match, else a read by `reader`. A document read well is stored, unless its
// stamp changed between the status request before and the one after the
// read (it was being written); a failure is never stored, so it is read and
// reported again each time. Without a cache, `reader` itself.
//
// Runs wherever the reader runs (the read-ahead's workers).
psd::ReadAhead::Reader cachedReader(psd::ReadAhead::Reader reader, std::shared_ptr<LayerCache> cache);
// The same for a reader that tells the read-ahead of its memory as it goes;
// a stored document is counted by the read-ahead at its size.
psd::ReadAhead::MeteredReader cachedReader(psd::ReadAhead::MeteredReader reader, std::shared_ptr<LayerCache> cache);

// $XDG_CACHE_HOME/halvorine when XDG_CACHE_HOME names an absolute folder,
// else $HOME/.cache/halvorine; "" when neither is set.
std::string userCacheFolder();

// False when HALVORINE_CACHE is "off" (or "0", "no", "false").
bool cacheOnByEnvironment();

// The user's layer cache (opened on first use), or none when the
// environment turns it off.
std::shared_ptr<LayerCache> openUserCache(std::function<void(const std::string&)> onWarning = {});

// The user's cache, whose one warning goes to standard error as
// "PROGRAM: warning: ...": for the window.
std::shared_ptr<LayerCache> openUserCacheWarningOnStderr(const std::string& program);

// cachedReader(reader, that cache).
psd::ReadAhead::MeteredReader withUserCache(psd::ReadAhead::MeteredReader reader, const std::string& program);

} // namespace hv::cache
