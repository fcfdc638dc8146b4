#include "support/ChooserDriver.h"

#include "outside/ctlGrid.h"
#include "support/ModalDriver.h"

#include <QAction>

#include <QPushButton>
#include <QTest>

namespace {
ctlGrid* List(QWidget* chooser) {
    return chooser->findChild<ctlGrid*>(QStringLiteral("ctlGridJuegos"));
}
} // namespace

void ChooserDriver::ClickRow(QWidget* chooser, int row) {
    ctlGrid* grid = List(chooser);
    const int rowHeight = grid->GetGridHeight() / qMax(1, grid->GetRowCount());
    const QPoint point(10, rowHeight * (row - 1) + rowHeight / 2);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, point);
}

void ChooserDriver::ArrowDownAndEnter(QWidget* chooser, int steps) {
    ctlGrid* grid = List(chooser);
    grid->setFocus();
    for (int i = 0; i < steps; ++i)
        QTest::keyClick(grid, Qt::Key_Down);
    QTest::keyClick(grid, Qt::Key_Return);
}

void ChooserDriver::PressOk(QWidget* chooser) {
    QTest::mouseClick(chooser->findChild<QPushButton*>(QStringLiteral("cmdAceptar")),
                      Qt::LeftButton);
}

void ChooserDriver::PressCancel(QWidget* chooser) {
    QTest::mouseClick(chooser->findChild<QPushButton*>(QStringLiteral("cmdCancelar")),
                      Qt::LeftButton);
}

void ChooserDriver::PressEscape(QWidget* chooser) {
    QTest::keyClick(chooser, Qt::Key_Escape);
}

QStringList ChooserDriver::Rows(QWidget* chooser) {
    ctlGrid* grid = List(chooser);
    QStringList rows;
    for (int row = 1; row <= grid->GetRowCount(); ++row)
        rows << grid->CellText(1, row);
    return rows;
}

int ChooserDriver::SelectedRow(QWidget* chooser) {
    return List(chooser)->GetRowSelected();
}

bool ChooserDriver::ChooseFromMenu(QWidget* mainWindow, int row) {
    ModalDriver driver([row](QWidget* chooser) { ClickRow(chooser, row); });
    mainWindow->findChild<QAction*>(QStringLiteral("mnuOpcSeleccionarJuego"))->trigger();
    return driver.Acted();
}
