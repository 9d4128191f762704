#pragma once

#include <QChar>
#include <QString>

namespace hv {

// The separator between the folders of a path on this platform.
#ifdef Q_OS_WIN
inline constexpr QChar kPathSeparator{u'\\'};
#else
inline constexpr QChar kPathSeparator{u'/'};
#endif

// The text after the last separator of `path`; the whole text when it holds
// none. Used for the progress captions, never to find a file.
QString FileNameOfPath(const QString& path, QChar separator = kPathSeparator);

} // namespace hv
