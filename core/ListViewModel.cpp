#include "ListViewModel.h"

#include "platform/Failure.h"

namespace hv {

namespace {
constexpr int kFlushIntervalMs = 50;
const char* const kOutOfBounds = "Index out of bounds";
} // namespace

ListViewModel::ListViewModel(bool checkable, QObject* parent) : QAbstractTableModel(parent), checkable_(checkable) {
    flushTimer_.setSingleShot(true);
    flushTimer_.setInterval(kFlushIntervalMs);
    connect(&flushTimer_, &QTimer::timeout, this, &ListViewModel::flush);
}

void ListViewModel::addColumn(const QString& text) {
    flush();
    const int at = headerCount();
    beginInsertColumns({}, at, at);
    headers_.append(text);
    for (Row& row : rows_) row.cells.append(QString());
    endInsertColumns();
}

QString ListViewModel::headerText(int column) const {
    return headers_.at(columnIndex(column));
}

const ListViewModel::Row& ListViewModel::rowAt(int row) const {
    if (row < 1 || row > itemCount()) throw Failure(kOutOfBounds);
    return rows_[static_cast<size_t>(row - 1)];
}

int ListViewModel::columnIndex(int column) const {
    if (column < 1 || column > headerCount()) throw Failure(kOutOfBounds);
    return column - 1;
}

QString ListViewModel::itemText(int row, int column) const {
    const Row& r = rowAt(row);
    return r.cells.value(columnIndex(column));
}

bool ListViewModel::isChecked(int row) const {
    return rowAt(row).checked;
}

int ListViewModel::addItem(const QString& text) {
    return addItem(QStringList{text});
}

int ListViewModel::addItem(const QStringList& cells) {
    Row row;
    row.cells = cells;
    while (row.cells.size() < headers_.size()) row.cells.append(QString());
    rows_.push_back(std::move(row));
    if (!flushTimer_.isActive()) flushTimer_.start();
    return itemCount();
}

int ListViewModel::addItem(const QStringList& cells, const RowFacts& facts) {
    const int row = addItem(cells);
    rows_.back().facts = facts_.add(facts);
    return row;
}

RowFacts ListViewModel::itemFacts(int row) const {
    const Row& r = rowAt(row);
    return r.facts == 0 ? RowFacts{} : facts_.at(r.facts);
}

void ListViewModel::setItemText(int row, int column, const QString& text) {
    rowAt(row);
    const int c = columnIndex(column);
    flush();
    rows_[static_cast<size_t>(row - 1)].cells[c] = text;
    const QModelIndex at = index(row - 1, c);
    emit dataChanged(at, at, {Qt::DisplayRole});
}

void ListViewModel::setChecked(int row, bool checked) {
    rowAt(row);
    flush();
    rows_[static_cast<size_t>(row - 1)].checked = checked;
    const QModelIndex at = index(row - 1, 0);
    emit dataChanged(at, at, {Qt::CheckStateRole});
}

void ListViewModel::removeItem(int row) {
    rowAt(row);
    flush();
    beginRemoveRows({}, row - 1, row - 1);
    rows_.erase(rows_.begin() + (row - 1));
    published_ = itemCount();
    endRemoveRows();
}

void ListViewModel::clearItems() {
    flushTimer_.stop();
    beginResetModel();
    rows_.clear();
    facts_.clear();
    published_ = 0;
    endResetModel();
}

void ListViewModel::flush() {
    flushTimer_.stop();
    if (published_ >= itemCount()) return;
    beginInsertRows({}, published_, itemCount() - 1);
    published_ = itemCount();
    endInsertRows();
}

int ListViewModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : published_;
}

int ListViewModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : headerCount();
}

QVariant ListViewModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= published_) return {};
    const Row& row = rows_[static_cast<size_t>(index.row())];
    // No tool tip: the list's own hint, or the window's tip of the row, shows.
    if (role == Qt::DisplayRole) return row.cells.value(index.column());
    if (role == Qt::CheckStateRole && checkable_ && index.column() == 0)
        return row.checked ? Qt::Checked : Qt::Unchecked;
    return {};
}

bool ListViewModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.row() >= published_ || role != Qt::CheckStateRole || !checkable_) return false;
    rows_[static_cast<size_t>(index.row())].checked = value.toInt() == Qt::Checked;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

QVariant ListViewModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < headerCount())
        return headers_.at(section);
    return {};
}

Qt::ItemFlags ListViewModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (checkable_ && index.column() == 0) f |= Qt::ItemIsUserCheckable;
    return f;
}

} // namespace hv
