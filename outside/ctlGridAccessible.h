#pragma once

#include <QAccessibleTableInterface>
#include <QAccessibleWidget>
#include <QHash>

class ctlGrid;
class ctlGridCellAccessible;

// A ctlGrid as a table for assistive technology. Qt makes it only when a
// screen reader (or a test) asks for the grid's interface, through the
// factory Install puts in place; until then the grid pays nothing. The
// static members are the grid's hooks: each does nothing unless
// accessibility is active.
class ctlGridAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit ctlGridAccessible(ctlGrid* grid);
    ~ctlGridAccessible() override;

    // Puts the factory in place, once per program.
    static void Install();
    // The grid has new cells: the old cell interfaces are dropped.
    static void Rebuilt(ctlGrid* grid);
    // A cell's state (mark, strike-through) may have changed.
    static void CellStateChanged(ctlGrid* grid, int column, int row);
    // The current cell moved or the grid took the focus: the current cell
    // is the focused one.
    static void CurrentCellChanged(ctlGrid* grid);
    // The grid took the focus: Qt tells of the grid itself afterwards, so
    // the current cell is told once that is done.
    static void FocusEntered(ctlGrid* grid);
    // The owner gave the grid new words.
    static void SpeechChanged(ctlGrid* grid);

    // The interface of cell (column, row), in the grid's own addressing.
    ctlGridCellAccessible* Cell(int column, int row) const;
    int IndexOf(int column, int row) const;

    // QAccessibleInterface
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* focusChild() const override;
    QAccessible::Role role() const override;
    QString text(QAccessible::Text t) const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // QAccessibleTableInterface (indexes from 0, header row left out)
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int) const override { return QString(); }
    int columnCount() const override;
    int rowCount() const override;
    // Only the current cell is ever selected, never a whole row or column.
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent* event) override;

private:
    ctlGrid* Grid() const;
    int FirstRow() const;
    void DropCells();

    // Cell interfaces live in Qt's registry; this keeps their ids by child index.
    mutable QHash<int, QAccessible::Id> cells_;
};
