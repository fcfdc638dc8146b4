// The menu commands that the board carries out for the main window.
#include "board/ctlCuadricula.h"

#include "dialogs/frmListaJuegos.h"
#include "outside/AppServices.h"
#include "outside/IniFileReader.h"
#include "outside/ProductInfo.h"
#include "outside/WindowServices.h"
#include "outside/ctlGrid.h"

#include <QLabel>
#include <QPushButton>

bool ctlCuadricula::ShowGames() {
    return ReraiseAs("ctlCuadricula.ShowGames", [&] {
        frmListaJuegos form;
        form.setWindowTitle(appServices_->GetMessage(10600));
        form.lblJuegos()->setText(appServices_->GetMessage(10602));
        form.lblJuegos()->adjustSize();
        form.cmdAceptar()->setText(appServices_->GetMessage(10000));
        form.cmdCancelar()->setText(appServices_->GetMessage(10001));
        CargarLista(form);
        windowServices_->PlaceWindow(&form, 0, 0);
        form.exec();

        const qint32 chosen = form.NumeroJuego();
        if (chosen <= 0)
            return false;
        Save();
        // Loading is all or nothing: a puzzle that cannot be read leaves
        // the board on the puzzle it had, so its progress is not lost.
        const qint32 previous = NumeroJuego_;
        NumeroJuego_ = chosen;
        try {
            LoadPuzzle();
        } catch (const AppError&) {
            NumeroJuego_ = previous;
            throw;
        }
        Refresh(true);
        return true;
    });
}

void ctlCuadricula::CargarLista(frmListaJuegos& form) {
    ReraiseAs("ctlCuadricula.CargarLista", [&] {
        const QString file = DataFilePath();
        const IniFileReader reader;
        QStringList rows;
        for (qint32 number = 1;; ++number) {
            const QString title =
                reader.GetValue(QString::number(number), QStringLiteral("Titulo"), file, 0);
            if (title.isEmpty())
                break;
            rows << QString::number(number) + QStringLiteral(" - ") + title;
        }
        if (rows.isEmpty())
            return;

        auto* grid = form.findChild<ctlGrid*>(QStringLiteral("ctlGridJuegos"));
        if (!grid)
            throw AppError(ErrorNumber::ObjectNotSet, QStringLiteral("ctlCuadricula.CargarLista"),
                           appServices_->GetMessage(11613));
        grid->SetRedraw(false);
        grid->Clear();
        grid->SetBorderStyle(2);
        grid->SetHeaderColumns(false);
        grid->SetHeaderRows(false);
        grid->SetGridLines(true);
        grid->SetDrawFocusRectangle(false);
        grid->SetEditable(false);
        grid->SetEnabled(true);
        grid->SetScrollBarStyle(2);
        grid->ArmarGrilla(1, static_cast<qint32>(rows.size()));
        for (qint32 row = 1; row <= rows.size(); ++row)
            grid->CellDetails(1, row, rows[row - 1], CellFormat::LeftAligned, QString::number(row));
        grid->ChangeCellSelected(1, 1);
        grid->ActualizarFont();

        // Fit the one column to the list's width, leaving room for the
        // vertical scroll bar when the rows will not fit.
        const WindowMetrics client = windowServices_->GetClientSize(grid->GethWnd());
        const int scrollBar =
            grid->GetGridHeight() > client.height ? windowServices_->GetScrollBarSize(false) : 0;
        if (grid->ColumnWidth(1) <= client.width)
            grid->SetColumnWidth(1, client.width - scrollBar);
        grid->SetRedraw(true);
    });
}
