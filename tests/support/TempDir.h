#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace hv::test {

// A temporary folder tree for a test, removed with the object.
class TempDir {
public:
    TempDir();
    QString path() const { return dir_.path(); }
    QString path(const QString& relative) const { return dir_.path() + QLatin1Char('/') + relative; }
    // Creates the file (and its folders) with the given content.
    QString file(const QString& relative, const QByteArray& content = {}) const;
    QString folder(const QString& relative) const;

private:
    QTemporaryDir dir_;
};

} // namespace hv::test
