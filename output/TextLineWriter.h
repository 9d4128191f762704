#pragma once

#include <QString>

class QIODevice;

namespace hv {

// Writes lines of text to a device, one line at a time: each line in the
// locale's 8-bit encoding (UTF-8 on this platform), without a byte-order
// mark, ended with CR LF.
//
// A QSaveFile is put in place of the file it replaces only by close(), and
// only when every line went out; after any failure it is discarded, so the
// old file stays as it was. Any other device is simply closed. A failure
// names the system's reason, such as "No space left on device".
class TextLineWriter {
public:
    explicit TextLineWriter(QIODevice& device) : device_(device) {}
    ~TextLineWriter();
    TextLineWriter(const TextLineWriter&) = delete;
    TextLineWriter& operator=(const TextLineWriter&) = delete;

    // Opens the device for writing from its start; throws hv::Failure.
    void open(const QString& fileName);
    // Open and no write has failed: further lines can still go out.
    bool isWritable() const { return opened_ && !failed_; }
    // Throws hv::Failure when the device does not take the whole line.
    void writeLine(const QString& line);
    // Completes the file; throws hv::Failure when its last lines could not
    // be written or it could not be put in place. Does nothing for a device
    // that was never opened.
    void close();

private:
    void discard();

    QIODevice& device_;
    QString fileName_;
    bool opened_ = false;
    bool failed_ = false;
};

} // namespace hv
