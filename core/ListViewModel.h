#pragma once

#include "core/RowFacts.h"

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <vector>

namespace hv {

// The rows of a report-style list: every row has one text per column and a
// check mark. The program reads and changes it through the item API, whose
// positions count from 1 as the list's users count them; reading a row or
// column that does not exist throws hv::Failure.
//
// Appended rows are stored at once, but the view is told about them in
// batches, so that filling a long list does not relayout the view per row.
class ListViewModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ListViewModel(bool checkable, QObject* parent = nullptr);

    // Column headers.
    void addColumn(const QString& text);
    int headerCount() const { return static_cast<int>(headers_.size()); }
    QString headerText(int column) const;

    // Items.
    int itemCount() const { return static_cast<int>(rows_.size()); }
    QString itemText(int row, int column = 1) const;
    bool isChecked(int row) const;
    int addItem(const QString& text); // returns the new row's position
    int addItem(const QStringList& cells);
    // Appends a row that keeps `facts` beside its cells. They are never a
    // cell: the view, the exports and the clipboard see only the cells.
    int addItem(const QStringList& cells, const RowFacts& facts);
    // The facts kept with a row; the defaults ("unknown") for a row added
    // without any.
    RowFacts itemFacts(int row) const;
    void setItemText(int row, int column, const QString& text);
    void setChecked(int row, bool checked);
    void removeItem(int row);
    void clearItems();
    bool isCheckable() const { return checkable_; }

    // Tells the view about every row appended so far.
    void flush();

    // QAbstractItemModel
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    struct Row {
        QStringList cells;
        bool checked = false;
        std::uint32_t facts = 0; // entry of facts_, 0 for none
    };
    const Row& rowAt(int row) const;
    int columnIndex(int column) const;

    bool checkable_;
    QStringList headers_;
    std::vector<Row> rows_;
    RowFactsTable facts_;
    int published_ = 0; // rows the view has been told about
    QTimer flushTimer_;
};

} // namespace hv
