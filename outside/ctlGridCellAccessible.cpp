#include "outside/ctlGridCellAccessible.h"

#include "outside/ctlGrid.h"
#include "outside/ctlGridAccessible.h"

#include <QWidget>
#include <QWindow>

ctlGridCellAccessible::ctlGridCellAccessible(ctlGrid* grid, int column, int row)
    : grid_(grid), column_(column), row_(row) {}

bool ctlGridCellAccessible::IsOn(const ctlGrid& grid, int column, int row) {
    switch (grid.Speech().cellState) {
    case GridSpeech::CellState::OwnColour:
        return grid.CellBackColor(column, row) != -1;
    case GridSpeech::CellState::Strikethrough: {
        const FontRef font = grid.CellFont(column, row);
        return font && font->Strikethrough();
    }
    case GridSpeech::CellState::None:
        break;
    }
    return false;
}

bool ctlGridCellAccessible::isValid() const {
    if (!grid_ || column_ < 1 || column_ > grid_->GetColumnCount() || row_ > grid_->GetRowCount())
        return false;
    return row_ >= 1 || (row_ == 0 && grid_->HeaderColumns());
}

QWindow* ctlGridCellAccessible::window() const {
    if (!grid_)
        return nullptr;
    return grid_->window()->windowHandle();
}

QAccessibleInterface* ctlGridCellAccessible::parent() const {
    return grid_ ? QAccessible::queryAccessibleInterface(grid_.data()) : nullptr;
}

QString ctlGridCellAccessible::text(QAccessible::Text t) const {
    if (!isValid())
        return QString();
    switch (t) {
    case QAccessible::Name:
        return grid_->CellText(column_, row_);
    case QAccessible::Description:
        if (row_ == 0)
            return QString();
        return grid_->Speech().CellDescription(IsOn(*grid_, column_, row_), column_, row_);
    default:
        return QString();
    }
}

QRect ctlGridCellAccessible::rect() const {
    if (!isValid())
        return QRect();
    const QRect box = grid_->CellRect(column_, row_);
    return QRect(grid_->viewport()->mapToGlobal(box.topLeft()), box.size());
}

QAccessible::Role ctlGridCellAccessible::role() const {
    return row_ == 0 ? QAccessible::ColumnHeader : QAccessible::Cell;
}

QAccessible::State ctlGridCellAccessible::state() const {
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    if (row_ >= 1) {
        state.focusable = true;
        state.selectable = true;
        state.selected = isSelected();
        state.focused = state.selected && grid_->hasFocus();
        if (grid_->Speech().cellState != GridSpeech::CellState::None) {
            state.checkable = true;
            state.checked = IsOn(*grid_, column_, row_);
        }
    }
    state.disabled = !grid_->isEnabled();
    state.invisible = !grid_->isVisible();
    const QRect box = grid_->CellRect(column_, row_);
    state.offscreen = state.invisible || !grid_->viewport()->rect().intersects(box);
    return state;
}

void* ctlGridCellAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TableCellInterface && row_ >= 1)
        return static_cast<QAccessibleTableCellInterface*>(this);
    if (type == QAccessible::ActionInterface && row_ >= 1)
        return static_cast<QAccessibleActionInterface*>(this);
    return nullptr;
}

// Only the current cell is ever selected.
bool ctlGridCellAccessible::isSelected() const {
    return grid_ && grid_->GetRowSelected() == row_ && grid_->GetColumnSelected() == column_;
}

QList<QAccessibleInterface*> ctlGridCellAccessible::columnHeaderCells() const {
    if (!isValid() || !grid_->HeaderColumns())
        return {};
    auto* grid = static_cast<ctlGridAccessible*>(table());
    return {grid->Cell(column_, 0)};
}

QStringList ctlGridCellAccessible::actionNames() const {
    return {pressAction(), setFocusAction()};
}

// Pressing makes the cell current and clicks it, so the owner marks it or
// crosses it out exactly as for the mouse.
void ctlGridCellAccessible::doAction(const QString& actionName) {
    if (!isValid() || row_ < 1)
        return;
    if (actionName == setFocusAction()) {
        grid_->setFocus(Qt::OtherFocusReason);
        grid_->SelectCell(column_, row_);
    } else if (actionName == pressAction()) {
        grid_->SelectCell(column_, row_);
        emit grid_->CellClick(column_, row_);
    }
}

QStringList ctlGridCellAccessible::keyBindingsForAction(const QString& actionName) const {
    if (actionName == pressAction())
        return {QStringLiteral("Space")};
    return {};
}
