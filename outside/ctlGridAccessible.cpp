#include "outside/ctlGridAccessible.h"

#include "outside/MessageCatalogue.h"
#include "outside/ScreenReaderEvents.h"
#include "outside/ctlGrid.h"
#include "outside/ctlGridCellAccessible.h"

#include <QAccessibleEvent>
#include <QScrollBar>

namespace {
QAccessibleInterface* Factory(const QString& className, QObject* object) {
    if (className == QLatin1String("ctlGrid") && object && object->isWidgetType())
        return new ctlGridAccessible(static_cast<ctlGrid*>(object));
    return nullptr;
}

ctlGridAccessible* TableOf(ctlGrid* grid) {
    return dynamic_cast<ctlGridAccessible*>(QAccessible::queryAccessibleInterface(grid));
}

// The grid speaks only when a screen reader listens and the owner is not
// in the middle of an update (Redraw off); a rebuild tells it all at once.
bool Speaking(const ctlGrid* grid) {
    return QAccessible::isActive() && grid->Redraw();
}
} // namespace

ctlGridAccessible::ctlGridAccessible(ctlGrid* grid) : QAccessibleWidget(grid, QAccessible::Table) {}

ctlGridAccessible::~ctlGridAccessible() {
    DropCells();
}

void ctlGridAccessible::Install() {
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    Q_UNUSED(installed);
}

void ctlGridAccessible::Rebuilt(ctlGrid* grid) {
    if (!QAccessible::isActive())
        return;
    QAccessibleTableModelChangeEvent event(grid, QAccessibleTableModelChangeEvent::ModelReset);
    QAccessible::updateAccessibility(&event);
}

void ctlGridAccessible::CellStateChanged(ctlGrid* grid, int column, int row) {
    if (!Speaking(grid) || grid->Speech().cellState == GridSpeech::CellState::None)
        return;
    ctlGridAccessible* table = TableOf(grid);
    ctlGridCellAccessible* cell = table ? table->Cell(column, row) : nullptr;
    if (!cell)
        return;
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent state(cell, changed);
    QAccessible::updateAccessibility(&state);
    // A screen reader says at once the new description of the cell with the
    // focus: the state word and the place, then the count where the owner
    // asks for it. Other cells change unheard, as before.
    if (!cell->isSelected() || !grid->hasFocus()) {
        QAccessibleEvent description(cell, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&description);
        return;
    }
    QString said = cell->text(QAccessible::Description);
    if (grid->Speech().countOnChange)
        said = MessageCatalogue::Text(11225).arg(said, table->text(QAccessible::Description));
    ScreenReaderEvents::DescriptionChanged(cell, said);
}

void ctlGridAccessible::CurrentCellChanged(ctlGrid* grid) {
    if (!Speaking(grid) || !grid->hasFocus() || grid->GetRowSelected() < 1)
        return;
    const ctlGridAccessible* table = TableOf(grid);
    const int index =
        table ? table->IndexOf(grid->GetColumnSelected(), grid->GetRowSelected()) : -1;
    if (index < 0)
        return;
    QAccessibleEvent focus(grid, QAccessible::Focus);
    focus.setChild(index);
    QAccessible::updateAccessibility(&focus);
}

void ctlGridAccessible::FocusEntered(ctlGrid* grid) {
    if (!QAccessible::isActive())
        return;
    QMetaObject::invokeMethod(
        grid, [grid] { CurrentCellChanged(grid); }, Qt::QueuedConnection);
}

void ctlGridAccessible::SpeechChanged(ctlGrid* grid) {
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent name(grid, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&name);
    if (QAccessibleInterface* table = QAccessible::queryAccessibleInterface(grid))
        ScreenReaderEvents::DescriptionChanged(table, table->text(QAccessible::Description));
}

ctlGrid* ctlGridAccessible::Grid() const {
    return static_cast<ctlGrid*>(widget());
}

int ctlGridAccessible::FirstRow() const {
    return Grid()->HeaderColumns() ? 0 : 1;
}

int ctlGridAccessible::IndexOf(int column, int row) const {
    const ctlGrid* grid = Grid();
    const int columns = grid->GetColumnCount();
    if (column < 1 || column > columns || row < FirstRow() || row > grid->GetRowCount())
        return -1;
    return (row - FirstRow()) * columns + (column - 1);
}

ctlGridCellAccessible* ctlGridAccessible::Cell(int column, int row) const {
    return static_cast<ctlGridCellAccessible*>(child(IndexOf(column, row)));
}

QAccessibleInterface* ctlGridAccessible::child(int index) const {
    if (index < 0 || index >= childCount())
        return nullptr;
    if (const auto found = cells_.constFind(index); found != cells_.constEnd())
        return QAccessible::accessibleInterface(found.value());
    const int columns = Grid()->GetColumnCount();
    auto* cell =
        new ctlGridCellAccessible(Grid(), index % columns + 1, index / columns + FirstRow());
    cells_.insert(index, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

int ctlGridAccessible::childCount() const {
    const ctlGrid* grid = Grid();
    const int rows = grid->GetRowCount() - FirstRow() + 1;
    return grid->GetColumnCount() > 0 && rows > 0 ? grid->GetColumnCount() * rows : 0;
}

int ctlGridAccessible::indexOfChild(const QAccessibleInterface* child) const {
    const auto* cell = dynamic_cast<const ctlGridCellAccessible*>(child);
    if (!cell || cell->Grid() != Grid())
        return -1;
    return IndexOf(cell->Column(), cell->Row());
}

QAccessibleInterface* ctlGridAccessible::childAt(int x, int y) const {
    const ctlGrid* grid = Grid();
    const QPoint at = grid->viewport()->mapFromGlobal(QPoint(x, y));
    if (!grid->viewport()->rect().contains(at))
        return nullptr;
    const QPoint cell = grid->CellUnder(at);
    return cell.isNull() ? nullptr : child(IndexOf(cell.x(), cell.y()));
}

QAccessibleInterface* ctlGridAccessible::focusChild() const {
    const ctlGrid* grid = Grid();
    if (grid->hasFocus() && grid->GetRowSelected() >= 1)
        return Cell(grid->GetColumnSelected(), grid->GetRowSelected());
    return QAccessibleWidget::focusChild();
}

// A table's rows are read whole by screen readers on every vertical move;
// a board read letter by letter is a group of cells that keeps the table's
// interface for those who navigate it as one.
QAccessible::Role ctlGridAccessible::role() const {
    return Grid()->Speech().byCell ? QAccessible::Grouping : QAccessible::Table;
}

QString ctlGridAccessible::text(QAccessible::Text t) const {
    const ctlGrid* grid = Grid();
    const GridSpeech& speech = grid->Speech();
    switch (t) {
    case QAccessible::Name:
        if (!grid->accessibleName().isEmpty() || speech.name.isEmpty())
            break;
        return speech.name;
    case QAccessible::Description: {
        if (!grid->accessibleDescription().isEmpty() || speech.description.isEmpty())
            break;
        int on = 0;
        if (speech.cellState != GridSpeech::CellState::None)
            for (int row = 1; row <= grid->GetRowCount(); ++row)
                for (int column = 1; column <= grid->GetColumnCount(); ++column)
                    on += ctlGridCellAccessible::IsOn(*grid, column, row) ? 1 : 0;
        return speech.Description(on, grid->GetColumnCount(), grid->GetRowCount());
    }
    default:
        break;
    }
    return QAccessibleWidget::text(t);
}

void* ctlGridAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessibleInterface* ctlGridAccessible::cellAt(int row, int column) const {
    return child(IndexOf(column + 1, row + 1));
}

int ctlGridAccessible::selectedCellCount() const {
    return Grid()->GetRowSelected() >= 1 ? 1 : 0;
}

QList<QAccessibleInterface*> ctlGridAccessible::selectedCells() const {
    const ctlGrid* grid = Grid();
    if (grid->GetRowSelected() < 1)
        return {};
    return {Cell(grid->GetColumnSelected(), grid->GetRowSelected())};
}

QString ctlGridAccessible::columnDescription(int column) const {
    const ctlGrid* grid = Grid();
    if (!grid->HeaderColumns() || column < 0 || column >= grid->GetColumnCount())
        return QString();
    return grid->CellText(column + 1, 0);
}

int ctlGridAccessible::columnCount() const {
    return Grid()->GetColumnCount();
}

int ctlGridAccessible::rowCount() const {
    return Grid()->GetColumnCount() > 0 ? Grid()->GetRowCount() : 0;
}

// The grid only ever tells of a reset: every cell may be new.
void ctlGridAccessible::modelChange(QAccessibleTableModelChangeEvent*) {
    DropCells();
}

void ctlGridAccessible::DropCells() {
    const QHash<int, QAccessible::Id> cells = std::exchange(cells_, {});
    for (const QAccessible::Id id : cells)
        QAccessible::deleteAccessibleInterface(id);
}
