#include "TextLineWriter.h"

#include "platform/Failure.h"

#include <QIODevice>
#include <QSaveFile>

namespace hv {

namespace {
QString failure(const char* what, const QString& fileName, const QIODevice& device) {
    const QString reason = device.errorString().isEmpty() ? QStringLiteral("Unknown error") : device.errorString();
    return QStringLiteral("%1 \"%2\": %3").arg(QLatin1String(what), fileName, reason);
}
} // namespace

TextLineWriter::~TextLineWriter() {
    if (opened_) discard();
}

void TextLineWriter::open(const QString& fileName) {
    fileName_ = fileName;
    if (!device_.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw Failure(failure("Cannot create the file", fileName_, device_));
    opened_ = true;
    failed_ = false;
}

void TextLineWriter::writeLine(const QString& line) {
    if (!isWritable()) throw Failure(QStringLiteral("The file \"%1\" is not open for writing").arg(fileName_));
    QByteArray bytes = line.toLocal8Bit();
    bytes.append("\r\n", 2);
    if (device_.write(bytes) != bytes.size()) {
        failed_ = true;
        throw Failure(failure("Cannot write the file", fileName_, device_));
    }
}

void TextLineWriter::close() {
    if (!opened_) return;
    if (failed_) {
        discard();
        return;
    }
    opened_ = false;
    if (auto* saveFile = qobject_cast<QSaveFile*>(&device_)) {
        if (!saveFile->commit()) throw Failure(failure("Cannot save the file", fileName_, device_));
        return;
    }
    device_.close();
}

void TextLineWriter::discard() {
    opened_ = false;
    if (auto* saveFile = qobject_cast<QSaveFile*>(&device_)) {
        saveFile->cancelWriting();
        saveFile->commit(); // removes the temporary file; the old file is untouched
        return;
    }
    device_.close();
}

} // namespace hv
