#include "BenchCorpus.h"

#include "psd/testing/PsdWriter.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace hv::bench {

QStringList writeBenchCorpus(const QString& folder, int documents, int layers) {
    QDir().mkpath(folder);
    QStringList paths;
    paths.reserve(documents);
    for (int d = 1; d <= documents; ++d) {
        const QString path = QStringLiteral("%1/document-%2.psd").arg(folder).arg(d, 5, 10, QLatin1Char('0'));
        paths << path;
        if (QFileInfo::exists(path)) continue;
        // Sized like the reference documents: 20 to 50 KB of image resources
        // before the records and a merged image after them (written as holes).
        psd::testing::PsdWriter writer;
        writer.imageResourcesBytes = 20000 + static_cast<std::uint64_t>(d) * 7919 % 30000;
        writer.imageDataBytes = 200000;
        for (int l = 1; l <= layers; ++l) {
            const QString name = l == (layers + 1) / 2 ? QStringLiteral("Logo %1").arg(d)
                                                       : QStringLiteral("Layer %1 of document %2").arg(l).arg(d);
            writer.layer(name.toStdU16String());
        }
        // Written beside, then renamed: an interrupted run leaves no half file.
        const QString partial = path + QStringLiteral(".part");
        writer.writeFile(QFile::encodeName(partial).toStdString());
        QFile::rename(partial, path);
    }
    return paths;
}

QStringList findDocuments(const QString& folder) {
    QStringList paths;
    QDirIterator it(folder, {QStringLiteral("*.psd"), QStringLiteral("*.psb")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) paths << it.next();
    paths.sort();
    return paths;
}

} // namespace hv::bench
