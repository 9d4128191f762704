#include "StoredPictures.h"

#include "platform/PathBytes.h"

#include <string>

namespace hv {

QtDocumentThumbnails::StoredPictures storedPictures(std::shared_ptr<cache::LayerCache> cache) {
    if (!cache) return {};
    const auto find = [cache](const QString& path) -> std::optional<QByteArray> {
        const std::string name = pathBytes(path).toStdString();
        const std::optional<cache::FileStamp> stamp = cache::FileStamp::of(name);
        if (!stamp) return std::nullopt;
        const std::optional<std::string> form = cache->findPicture(name, *stamp);
        if (!form) return std::nullopt;
        return QByteArray(form->data(), static_cast<qsizetype>(form->size()));
    };
    const auto keep = [cache](const QString& path, const QByteArray& form) {
        const std::string name = pathBytes(path).toStdString();
        if (const std::optional<cache::FileStamp> stamp = cache::FileStamp::of(name))
            cache->storePicture(name, *stamp, form.toStdString());
    };
    return {find, keep};
}

} // namespace hv
