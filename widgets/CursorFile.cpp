#include "CursorFile.h"

#include "platform/Failure.h"

#include <QFile>
#include <QImageReader>
#include <QPixmap>

namespace hv {

namespace {

// Reads the hot spot of the first image of a .cur file: the directory entry
// after the 6-byte header keeps it where an icon keeps planes and bit count.
QPoint cursorHotSpot(const QByteArray& bytes, const QSize& size) {
    QPoint fallback(size.width() / 2, size.height() / 2);
    if (bytes.size() < 6 + 16) return fallback;
    auto u16 = [&](int at) {
        return static_cast<int>(static_cast<unsigned char>(bytes[at])
                                | (static_cast<unsigned char>(bytes[at + 1]) << 8));
    };
    if (u16(0) != 0 || u16(2) != 2) return fallback; // not a cursor file
    const QPoint spot(u16(6 + 4), u16(6 + 6));
    return QRect(QPoint(0, 0), size).contains(spot) ? spot : fallback;
}

} // namespace

QCursor loadCursorFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw Failure(QStringLiteral("File not found: ") + path);
    const QByteArray bytes = file.read(1 << 20);
    QByteArray asIcon = bytes;
    // Qt reads cursor files as icons once the resource type says "icon".
    if (asIcon.size() >= 4 && asIcon[2] == 2 && asIcon[3] == 0) asIcon[2] = 1;
    QPixmap pixmap;
    if (!pixmap.loadFromData(asIcon, "ICO") && !pixmap.loadFromData(bytes))
        throw Failure(QStringLiteral("Invalid picture"));
    const QPoint hotSpot = cursorHotSpot(bytes, pixmap.size());
    return QCursor(pixmap, hotSpot.x(), hotSpot.y());
}

} // namespace hv
