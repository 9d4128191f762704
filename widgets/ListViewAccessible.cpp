#include "ListViewAccessible.h"

#include "ListView.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QHeaderView>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QWindow>

namespace hv {

namespace {

QAccessibleInterface* accessibleOf(QWidget* widget) {
    return widget ? QAccessible::queryAccessibleInterface(widget) : nullptr;
}

// What a header cell and a row's cell share: a leaf of the list's table.
class ListLeaf : public QAccessibleInterface {
public:
    explicit ListLeaf(ListView* view) : view_(view) {}

    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return view_ ? view_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return accessibleOf(view_); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

protected:
    QPointer<ListView> view_;
};

// A column's header.
class HeaderCell : public ListLeaf {
public:
    HeaderCell(ListView* view, int column) : ListLeaf(view), column_(column) {}
    int column() const { return column_; }

    bool isValid() const override { return view_ && column_ < view_->model()->columnCount(); }
    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Name || !isValid()) return {};
        return view_->model()->headerData(column_, Qt::Horizontal).toString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid()) return {};
        const QHeaderView* header = view_->header();
        const QRect section(header->sectionViewportPosition(column_), 0, header->sectionSize(column_),
                            header->height());
        return section.translated(header->viewport()->mapToGlobal(QPoint(0, 0)));
    }
    QAccessible::Role role() const override { return QAccessible::ColumnHeader; }
    QAccessible::State state() const override { return {}; }

private:
    int column_;
};

// One cell of a row.
class Cell : public ListLeaf, public QAccessibleTableCellInterface, public QAccessibleActionInterface {
public:
    Cell(ListView* view, const QModelIndex& index) : ListLeaf(view), index_(index) {}

    bool isValid() const override { return view_ && index_.isValid(); }
    // A tick box cell also says what it is: not every bridge passes the
    // checkable state on to screen readers.
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && isValid()) return index_.data(Qt::DisplayRole).toString();
        if (t == QAccessible::Description && checkable()) return QStringLiteral("tick box");
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid()) return {};
        return view_->visualRect(index_).translated(view_->viewport()->mapToGlobal(QPoint(0, 0)));
    }
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableCellInterface) return static_cast<QAccessibleTableCellInterface*>(this);
        if (type == QAccessible::ActionInterface) return static_cast<QAccessibleActionInterface*>(this);
        return nullptr;
    }

    // QAccessibleTableCellInterface
    bool isSelected() const override { return isValid() && view_->selectionModel()->isSelected(index_); }
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return index_.column(); }
    int rowIndex() const override { return index_.row(); }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

    // QAccessibleActionInterface
    QStringList actionNames() const override {
        return checkable() ? QStringList{toggleAction(), setFocusAction()} : QStringList{setFocusAction()};
    }
    void doAction(const QString& name) override;
    QStringList keyBindingsForAction(const QString& name) const override {
        return name == toggleAction() && checkable() ? QStringList{QStringLiteral("Space")} : QStringList{};
    }

private:
    bool checkable() const { return isValid() && (index_.flags() & Qt::ItemIsUserCheckable); }

    QPersistentModelIndex index_;
};

QAccessible::State Cell::state() const {
    QAccessible::State st;
    if (!isValid()) {
        st.invalid = true;
        return st;
    }
    st.selectable = true;
    st.focusable = true;
    st.selected = isSelected();
    st.focused = view_->hasFocus() && view_->currentIndex() == QModelIndex(index_);
    st.invisible = !view_->viewport()->rect().intersects(view_->visualRect(index_));
    if (checkable()) {
        st.checkable = true;
        st.checked = index_.data(Qt::CheckStateRole).toInt() == Qt::Checked;
    }
    return st;
}

QList<QAccessibleInterface*> Cell::columnHeaderCells() const {
    QAccessibleInterface* list = parent();
    QAccessibleTableInterface* table = list ? list->tableInterface() : nullptr;
    if (!table || !isValid() || view_->header()->isHidden()) return {};
    return {list->child(index_.column())};
}

void Cell::doAction(const QString& name) {
    if (!isValid()) return;
    if (name == toggleAction() && checkable()) {
        const bool checked = index_.data(Qt::CheckStateRole).toInt() == Qt::Checked;
        view_->model()->setData(index_, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    } else if (name == setFocusAction()) {
        view_->setCurrentIndex(index_);
    }
}

// The list itself: the header cells come first, then the rows' cells.
class ListViewAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit ListViewAccessible(ListView* view);
    ~ListViewAccessible() override;

    int childCount() const override { return (rowCount() + headerRows()) * columnCount(); }
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override {
        const QModelIndex current = view()->currentIndex();
        return view()->hasFocus() && current.isValid() ? cellAt(current.row(), current.column()) : nullptr;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // QAccessibleTableInterface
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override { return int(view()->selectionModel()->selectedIndexes().size()); }
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int column) const override {
        return view()->model()->headerData(column, Qt::Horizontal).toString();
    }
    QString rowDescription(int) const override { return {}; }
    int columnCount() const override { return view()->model()->columnCount(); }
    int rowCount() const override { return view()->model()->rowCount(); }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return int(view()->selectionModel()->selectedRows().size()); }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override;
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override { return view()->selectionModel()->isRowSelected(row, {}); }
    bool selectRow(int row) override;
    bool selectColumn(int) override { return false; }
    bool unselectRow(int row) override;
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent* event) override {
        if (event->modelChangeType() != QAccessibleTableModelChangeEvent::DataChanged) forgetCells();
    }

private:
    ListView* view() const { return static_cast<ListView*>(widget()); }
    int headerRows() const { return view()->header()->isHidden() ? 0 : 1; }
    void forgetCells() const;

    mutable QHash<int, QAccessible::Id> cells_; // by child index
    QList<QMetaObject::Connection> connections_;
};

ListViewAccessible::ListViewAccessible(ListView* view) : QAccessibleWidget(view, QAccessible::Table) {
    // Rows come and go: the cells are made afresh after any change of rows.
    const QAbstractItemModel* model = view->model();
    auto forget = [this] { forgetCells(); };
    connections_ = {
        QObject::connect(model, &QAbstractItemModel::rowsInserted, view, forget),
        QObject::connect(model, &QAbstractItemModel::rowsRemoved, view, forget),
        QObject::connect(model, &QAbstractItemModel::columnsInserted, view, forget),
        QObject::connect(model, &QAbstractItemModel::modelReset, view, forget),
        QObject::connect(model, &QAbstractItemModel::layoutChanged, view, forget),
    };
}

ListViewAccessible::~ListViewAccessible() {
    for (const QMetaObject::Connection& connection : connections_) QObject::disconnect(connection);
    forgetCells();
}

void ListViewAccessible::forgetCells() const {
    for (QAccessible::Id id : std::as_const(cells_)) QAccessible::deleteAccessibleInterface(id);
    cells_.clear();
}

QAccessibleInterface* ListViewAccessible::child(int index) const {
    if (index < 0 || index >= childCount()) return nullptr;
    if (const auto found = cells_.constFind(index); found != cells_.constEnd())
        return QAccessible::accessibleInterface(*found);
    const int row = index / columnCount() - headerRows();
    const int column = index % columnCount();
    QAccessibleInterface* cell = row < 0 ? static_cast<QAccessibleInterface*>(new HeaderCell(view(), column))
                                         : new Cell(view(), view()->model()->index(row, column));
    cells_.insert(index, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

int ListViewAccessible::indexOfChild(const QAccessibleInterface* child) const {
    if (const auto* header = dynamic_cast<const HeaderCell*>(child)) return header->column();
    if (const auto* cell = dynamic_cast<const Cell*>(child))
        return (cell->rowIndex() + headerRows()) * columnCount() + cell->columnIndex();
    return -1;
}

QAccessibleInterface* ListViewAccessible::childAt(int x, int y) const {
    const QPoint global(x, y);
    const QHeaderView* header = view()->header();
    const QPoint inHeader = header->viewport()->mapFromGlobal(global);
    if (headerRows() && header->viewport()->rect().contains(inHeader)) return child(header->logicalIndexAt(inHeader));
    const QModelIndex at = view()->indexAt(view()->viewport()->mapFromGlobal(global));
    return at.isValid() ? cellAt(at.row(), at.column()) : nullptr;
}

QAccessibleInterface* ListViewAccessible::cellAt(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return nullptr;
    return child((row + headerRows()) * columnCount() + column);
}

QList<QAccessibleInterface*> ListViewAccessible::selectedCells() const {
    QList<QAccessibleInterface*> cells;
    for (const QModelIndex& index : view()->selectionModel()->selectedIndexes())
        if (QAccessibleInterface* cell = cellAt(index.row(), index.column())) cells.append(cell);
    return cells;
}

QList<int> ListViewAccessible::selectedRows() const {
    QList<int> rows;
    for (const QModelIndex& index : view()->selectionModel()->selectedRows()) rows.append(index.row());
    return rows;
}

bool ListViewAccessible::selectRow(int row) {
    if (row < 0 || row >= rowCount()) return false;
    view()->selectionModel()->setCurrentIndex(view()->model()->index(row, 0),
                                              QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    return true;
}

bool ListViewAccessible::unselectRow(int row) {
    if (row < 0 || row >= rowCount()) return false;
    view()->selectionModel()->select(view()->model()->index(row, 0),
                                     QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    return true;
}

QAccessibleInterface* makeAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("hv::ListView") && object && object->isWidgetType())
        return new ListViewAccessible(static_cast<ListView*>(object));
    return nullptr;
}

} // namespace

void installListViewAccessible() {
    static const bool installed = [] {
        QAccessible::installFactory(makeAccessible);
        return true;
    }();
    (void)installed;
}

} // namespace hv
