// The menu commands that the board carries out for the main window.
#include "board/ctlCuadricula.h"

#include "core/PuzzleFile.h"
#include "dialogs/frmListaJuegos.h"
#include "outside/AppServices.h"
#include "outside/GridSetup.h"
#include "outside/IniFileReader.h"
#include "outside/ProductInfo.h"
#include "outside/WindowServices.h"
#include "outside/ctlGrid.h"

#include <QLabel>
#include <QPushButton>
#include <utility>

bool ctlCuadricula::ShowGames() {
    return ReraiseAs("ctlCuadricula.ShowGames", [&] {
        const qint32 chosen = ChooseGame();
        if (chosen <= 0)
            return false;
        // A store that cannot be written must not keep the player on one
        // puzzle: they hear it once and the switch goes on.
        try {
            Save();
        } catch (const AppError& error) {
            ReportUnsavedProgress(error);
        }
        ChangePuzzle(chosen);
        if (std::exchange(marksKeptAside_, false))
            appServices_->ShowInformation(
                appServices_->GetMessage(11541).arg(NumeroJuego_).arg(Columns_ * Rows_),
                productInfo_->GetProductName(2));
        return true;
    });
}

// Runs the chooser until the player picks a puzzle or leaves it; 0 when
// none was picked. A data file replaced while the list was open may hold
// another puzzle under the number picked: the player hears it and chooses
// again from the list the file holds now.
qint32 ctlCuadricula::ChooseGame() {
    for (;;) {
        frmListaJuegos form;
        form.setWindowTitle(appServices_->GetMessage(10600));
        form.lblJuegos()->setText(appServices_->GetMessage(10602));
        form.lblJuegos()->adjustSize();
        form.cmdAceptar()->setText(appServices_->GetMessage(10000));
        form.cmdCancelar()->setText(appServices_->GetMessage(10001));
        CargarLista(form);
        windowServices_->PlaceWindow(&form, 0, 0);
        // An empty list says why when the file itself is the reason.
        try {
            dataFile_->CheckReadable(DataFilePath());
        } catch (const AppError& error) {
            appServices_->ShowInformation(error.Description(), form.windowTitle());
        }
        form.exec();
        const qint32 chosen = form.NumeroJuego();
        if (chosen <= 0 || StillListed(form, chosen))
            return chosen;
    }
}

// Whether the file still holds, under the number picked, the title the
// list showed; if not, the player is told what it holds now.
bool ctlCuadricula::StillListed(frmListaJuegos& form, qint32 chosen) {
    auto* grid = form.findChild<ctlGrid*>(QStringLiteral("ctlGridJuegos"));
    const QString prefix = QString::number(chosen) + QStringLiteral(" - ");
    const QString listed = grid->CellText(1, chosen).mid(prefix.size());
    const QString now = PuzzleFile(*dataFile_, DataFilePath()).Title(chosen);
    if (now == listed)
        return true;
    const QString text = now.isEmpty()
                             ? appServices_->GetMessage(11543).arg(chosen).arg(listed)
                             : appServices_->GetMessage(11542).arg(chosen).arg(listed, now);
    appServices_->ShowInformation(text, form.windowTitle());
    return false;
}

// A choice that fails leaves the board exactly on the puzzle it had, number
// and marks included, so the next save goes where it belongs. Only marks
// that could not all be read let the choice stand: the board then shows the
// new puzzle with the marks that could be read, and the player hears why.
void ctlCuadricula::ChangePuzzle(qint32 chosen) {
    const Shown previous = CurrentlyShown();
    NumeroJuego_ = chosen;
    damagedMarks_ = false;
    marksKeptAside_ = false;
    try {
        LoadPuzzle();
        Refresh(true);
    } catch (const AppError& error) {
        if (!damagedMarks_) {
            ShowAgain(previous);
            throw;
        }
        appServices_->ReportError(error.WithSource(QStringLiteral("ctlCuadricula.ShowGames")));
    }
}

ctlCuadricula::Shown ctlCuadricula::CurrentlyShown() const {
    return {
        NumeroJuego_, {Columns_, Rows_, Titulo_, Letras_, Palabras_, Solucion_}, MarkedCellList()};
}

// Rebuilds the board from what it held, without reading the store.
void ctlCuadricula::ShowAgain(const Shown& shown) {
    NumeroJuego_ = shown.number;
    TakePuzzle(shown.puzzle);
    BuildGrid();
    ApplyConfiguration(false, false);
    MarkCellList(shown.marks);
    SelectFirstCellActive();
    grid_->SetRedraw(true);
}

void ctlCuadricula::ReportUnsavedProgress(const AppError& error) {
    if (toldUnsavedProgress_)
        return;
    toldUnsavedProgress_ = true;
    appServices_->ReportError(
        AppError(error.Number(), error.Source(),
                 error.Description() + QLatin1Char(' ') + appServices_->GetMessage(11510)));
}

void ctlCuadricula::CargarLista(frmListaJuegos& form) {
    ReraiseAs("ctlCuadricula.CargarLista", [&] {
        QStringList rows = PuzzleFile(*dataFile_, DataFilePath()).Titles();
        for (qint32 number = 1; number <= rows.size(); ++number)
            rows[number - 1].prepend(QString::number(number) + QStringLiteral(" - "));
        if (rows.isEmpty())
            return;

        auto* grid = form.findChild<ctlGrid*>(QStringLiteral("ctlGridJuegos"));
        if (!grid)
            throw AppError(ErrorNumber::ObjectNotSet, QStringLiteral("ctlCuadricula.CargarLista"),
                           appServices_->GetMessage(11613));
        GridSetup{.headerColumns = false, .gridLines = true}.Apply(
            *grid, 1, static_cast<qint32>(rows.size()));
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
