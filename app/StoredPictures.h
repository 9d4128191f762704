#pragma once

#include "cache/LayerCache.h"
#include "platform/qt/QtDocumentThumbnails.h"

#include <memory>

namespace hv {

// The documents' preview pictures kept with their entries in the layer
// cache, under the file's stamp as it is when they are found or kept; none
// without a cache.
QtDocumentThumbnails::StoredPictures storedPictures(std::shared_ptr<cache::LayerCache> cache);

} // namespace hv
