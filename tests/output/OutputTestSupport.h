#pragma once

#include "support/ResultsList.h"

#include <QIODevice>

#include <algorithm>

namespace hv::test {

// A write-only device that takes `capacity` bytes and then refuses, as a
// full disk does.
class FailingDevice : public QIODevice {
public:
    explicit FailingDevice(qint64 capacity) : capacity_(capacity) {}
    QByteArray written;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        const qint64 room = capacity_ - static_cast<qint64>(written.size());
        if (room <= 0) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        const qint64 taken = std::min(room, size);
        written.append(data, taken);
        if (taken < size) setErrorString(QStringLiteral("No space left on device"));
        return taken;
    }

private:
    qint64 capacity_;
};

} // namespace hv::test
