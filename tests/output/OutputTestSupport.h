#pragma once

#include "platform/EventPump.h"
#include "widgets/ListView.h"
#include "platform/MessageBox.h"
#include "platform/ProgressDisplay.h"
#include "platform/SpreadsheetLink.h"

#include <QIODevice>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace hv::test {

// A results list with the columns "File" and "Layer Name"; each row is
// {path, layer name} and starts unchecked unless `checked` says otherwise.
std::unique_ptr<ListViewModel> resultsList(const std::vector<std::pair<QString, QString>>& rows, bool checked = false);

// Writes every row of `list` into a new workbook of `link` and shows it, in
// the order "Save Results As Excel File" makes the calls.
void exportToWorkbook(const ListViewModel& list, SpreadsheetLink& link, EventPump& events, MessageBox& messages);

// Records every value and caption set on it, in order.
class RecordingProgress : public ProgressDisplay {
public:
    void setValue(double value) override {
        value_ = value;
        values.push_back(value);
    }
    double value() const override { return value_; }
    void setText(const QString& text) override {
        text_ = text;
        texts.append(text);
    }
    QString text() const override { return text_; }

    std::vector<double> values;
    QStringList texts;

private:
    double value_ = 0;
    QString text_;
};

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
