#pragma once

#include <QString>
#include <QStringList>

namespace hv::bench {

// Writes `documents` PSD documents of `layers` layers each into `folder`
// (created when missing), unless they are already there, and returns their
// paths. Layer `l` of document `d` is named "Layer l of document d", except
// that the middle layer is "Logo d", so searching "logo" finds one layer
// per document and an empty search text finds all of them.
QStringList writeBenchCorpus(const QString& folder, int documents, int layers);

// Every .psd and .psb file under `folder`, sorted.
QStringList findDocuments(const QString& folder);

} // namespace hv::bench
