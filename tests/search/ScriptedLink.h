#pragma once

#include "platform/PhotoshopLink.h"
#include "platform/ProgressDisplay.h"
#include "platform/WindowPointer.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

namespace hv::test {

// A document link whose every operation can be made to fail. It logs what
// it was asked, like FakePhotoshopLink: "create", "open <path>", "count",
// "name <i>", "close", "quit", "release <path>" (released without close).
class ScriptedLink : public PhotoshopLink {
public:
    std::unique_ptr<PhotoshopApplication> create() override;

    void addDocument(const QString& path, QStringList names) { documents[path] = std::move(names); }

    std::map<QString, QStringList> documents;
    bool failCreate = false;
    bool failQuit = false;
    QSet<QString> failCount; // paths whose layer count cannot be read
    QSet<QString> failClose; // paths that cannot be closed
    // (path, item) pairs whose name fails on the given read: 1 for the first
    // read of that item in the document, 2 for the second, and so on.
    std::set<std::tuple<QString, int, int>> failName;
    std::function<void(const QString& path)> onOpen;
    QStringList log;
    int openDocuments = 0; // opened and neither closed nor released yet
};

// A pointer state that records every change.
class RecordingPointer : public WindowPointer {
public:
    Pointer pointer() const override { return current; }
    void setPointer(Pointer pointer) override {
        current = pointer;
        changes.push_back(pointer);
    }
    Pointer current = Pointer::Default;
    std::vector<Pointer> changes;
};

// A progress display that records every value and text set.
class RecordingProgress : public ProgressDisplay {
public:
    void setValue(double v) override {
        value_ = v;
        values.push_back(v);
    }
    double value() const override { return value_; }
    void setText(const QString& t) override {
        text_ = t;
        texts.append(t);
    }
    QString text() const override { return text_; }
    std::vector<double> values;
    QStringList texts;

private:
    double value_ = 0;
    QString text_ = QStringLiteral("Progress Bar");
};

} // namespace hv::test
