#include "TextLineWriter.h"

#include "platform/Failure.h"

#include <QFileDevice>
#include <QIODevice>
#include <QSaveFile>

namespace hv {

namespace {

bool knowsNoReason(const QIODevice& device) {
    return device.errorString().isEmpty() || device.errorString() == QLatin1String("Unknown error");
}

// The reason a device gives for its last failure. A file that took only part
// of what it was given knows none: the system said how much it wrote, not
// why it stopped. Writing the rest once more makes the system name the
// reason, such as "No space left on device".
QString reasonOf(QIODevice& device) {
    auto* file = qobject_cast<QFileDevice*>(&device);
    if (file && file->isOpen() && knowsNoReason(*file)) file->flush();
    return knowsNoReason(device) ? QStringLiteral("Unknown error") : device.errorString();
}

QString failure(const char* what, const QString& fileName, QIODevice& device) {
    return QStringLiteral("%1 \"%2\": %3").arg(QLatin1String(what), fileName, reasonOf(device));
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
    // A file holds back what it was given until it is flushed, so the last
    // lines may fail only now; closing or committing would not say so.
    auto* file = qobject_cast<QFileDevice*>(&device_);
    if (!failed_ && file && !file->flush()) {
        failed_ = true;
        const QString message = failure("Cannot write the file", fileName_, device_);
        discard();
        throw Failure(message);
    }
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
