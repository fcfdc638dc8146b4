#pragma once

#include <QAccessibleActionInterface>
#include <QAccessibleInterface>
#include <QAccessibleTableCellInterface>
#include <QPointer>

class ctlGrid;

// One cell of a ctlGrid as assistive technology sees it: its text as the
// name, the owner's words for its state as the description, and its place
// in the table. It holds only the address, so it reads the grid afresh
// every time and goes invalid once the grid no longer has the cell.
class ctlGridCellAccessible : public QAccessibleInterface,
                              public QAccessibleTableCellInterface,
                              public QAccessibleActionInterface {
public:
    ctlGridCellAccessible(ctlGrid* grid, int column, int row);

    int Column() const { return column_; }
    int Row() const { return row_; }
    const ctlGrid* Grid() const { return grid_; }

    // Whether the cell's state, as the grid's speech defines it, is on.
    static bool IsOn(const ctlGrid& grid, int column, int row);

    // QAccessibleInterface
    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    // A cell has no children, and its text is the grid's to change.
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // QAccessibleTableCellInterface (indexes from 0, header row left out)
    bool isSelected() const override;
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return column_ - 1; }
    int rowIndex() const override { return row_ - 1; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

    // QAccessibleActionInterface: pressing a cell is clicking it.
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

private:
    QPointer<ctlGrid> grid_;
    int column_;
    int row_;
};
