// The board's life cycle, its grid, cell marking and refresh.
#include "board/ctlCuadricula.h"

#include "core/AppearanceDefaults.h"

#include "outside/AppServices.h"
#include "outside/GridSetup.h"
#include "outside/IniFileReader.h"
#include "outside/WindowServices.h"
#include "outside/ctlGrid.h"

ctlCuadricula::ctlCuadricula(QWidget* parent)
    : GridControl(QStringLiteral("ctlCuadricula"), parent),
      dataFile_(std::make_unique<IniFileReader>()) {
    InitializeDefaults();
}

ctlCuadricula::~ctlCuadricula() = default;

void ctlCuadricula::InitializeDefaults() {
    Rows_ = 0;
    Columns_ = 0;
    ReadOnly_ = false;
    pictureFile_.clear();
    font_ = MakeFont(FontObject::FromQFont(font()));
    backColour_ = windowServices_->GetSystemColor(AppearanceDefaults::BackgroundColour);
    markedColour_ = windowServices_->GetSystemColor(AppearanceDefaults::MarkedColour);
    activeColour_ = windowServices_->GetSystemColor(AppearanceDefaults::ActiveCellColour);
    lineColour_ = windowServices_->GetSystemColor(AppearanceDefaults::LineColour);
    textColour_ = windowServices_->GetSystemColor(AppearanceDefaults::TextColour);
    NumeroJuego_ = 0;
    Titulo_.clear();
    Letras_.clear();
    Palabras_.clear();
    Solucion_.clear();
}

void ctlCuadricula::BuildGrid() {
    GridSetup{.headerColumns = false, .gridLines = true}.Apply(*grid_, Columns_, Rows_);
    qint32 index = 0;
    for (qint32 row = 1; row <= Rows_; ++row)
        for (qint32 column = 1; column <= Columns_; ++column) {
            ++index;
            const QString letter =
                index <= Letras_.size() ? QString(Letras_[index - 1]) : QString();
            grid_->CellDetails(column, row, letter, CellFormat::Centred);
        }
}

// Index 0 on entry: find the index of (column, row), 0 when the grid has no
// such cell. Any other index: find its cell; an index that names no cell
// leaves column and row as they were.
void ctlCuadricula::ConvertCellIndex(qint32& index, qint32& column, qint32& row) const {
    if (index != 0) {
        if (index < 0 || Columns_ <= 0 || Rows_ <= 0 ||
            static_cast<qint64>(index) > static_cast<qint64>(Columns_) * Rows_)
            return;
        row = (index - 1) / Columns_ + 1;
        column = (index - 1) % Columns_ + 1;
        return;
    }
    if (column >= 1 && column <= Columns_ && row >= 1 && row <= Rows_)
        index = (row - 1) * Columns_ + column;
}

void ctlCuadricula::CellChosen(qint32 column, qint32 row) {
    if (!ReadOnly_)
        ToggleCell(column, row);
}

void ctlCuadricula::ToggleCell(qint32 column, qint32 row) {
    if (grid_->CellBackColor(column, row) == -1)
        grid_->SetCellBackColor(column, row, markedColour_);
    else
        grid_->SetCellBackColor(column, row, -1);
}

void ctlCuadricula::RepaintMarkedCells() {
    for (qint32 row = 1; row <= Rows_; ++row)
        for (qint32 column = 1; column <= Columns_; ++column)
            if (grid_->CellBackColor(column, row) != -1)
                grid_->SetCellBackColor(column, row, markedColour_);
}

void ctlCuadricula::SelectFirstCellActive() {
    ReraiseAs("ctlCuadricula.SelectFirstCellActive", [&] {
        for (qint32 row = 1; row <= Rows_; ++row)
            for (qint32 column = 1; column <= Columns_; ++column)
                if (grid_->CellActive(column, row)) {
                    grid_->SelectCell(column, row);
                    return;
                }
    });
}

void ctlCuadricula::MostrarSoloLetrasDeSolucion() {
    ReraiseAs("ctlCuadricula.MostrarSoloLetrasDeSolucion", [&] {
        for (qint32 row = 1; row <= Rows_; ++row)
            for (qint32 column = 1; column <= Columns_; ++column)
                if (grid_->CellBackColor(column, row) != markedColour_)
                    grid_->SetCellText(column, row, QString());
    });
}

// Marks that could not all be read still leave a whole board: it paints
// with the marks that could be read, then the error passes on.
void ctlCuadricula::Refresh(bool ReadFromRegistry) {
    BuildGrid();
    SetGridSpeech();
    ApplyConfiguration(true, false);
    std::optional<AppError> unreadMarks;
    try {
        Load(ReadFromRegistry);
    } catch (const AppError& error) {
        unreadMarks = error;
    }
    if (!ReadFromRegistry)
        MostrarSoloLetrasDeSolucion();
    SelectFirstCellActive();
    grid_->SetRedraw(true);
    if (unreadMarks)
        throw *unreadMarks;
}

// What a screen reader hears of the board: which puzzle, its size and how
// many letters are marked, and for each letter whether it is marked and
// where it is. The solution viewer's copy tells solution letters from
// empty cells.
void ctlCuadricula::SetGridSpeech() {
    GridSpeech speech;
    speech.name = appServices_->GetMessage(ReadOnly_ ? 11202 : 11200)
                      .arg(QString::number(NumeroJuego_), Titulo_);
    speech.description = appServices_->GetMessage(11201);
    speech.cellState = GridSpeech::CellState::OwnColour;
    // The solution shows only its own letters: the others are empty.
    speech.stateOn = appServices_->GetMessage(ReadOnly_ ? 11214 : 11203);
    speech.stateOff = appServices_->GetMessage(ReadOnly_ ? 11215 : 11204);
    speech.cellDescription = appServices_->GetMessage(11205);
    speech.byCell = true;
    grid_->SetSpeech(speech);
}

void ctlCuadricula::ApplyConfiguration(bool ReloadSettings, bool NotifyChange) {
    if (ReloadSettings)
        LoadConfiguration();
    grid_->SetBackColor(backColour_);
    grid_->SetActiveCellColor(activeColour_);
    grid_->SetLineColor(lineColour_);
    grid_->SetTextColor(textColour_);
    grid_->SetPictureFile(pictureFile_);
    grid_->SetFont(font_);
    grid_->ActualizarFont();
    if (NotifyChange) {
        emit ChangeConfiguration();
        grid_->SetRedraw(false);
        RepaintMarkedCells();
        grid_->SetRedraw(true);
    }
}
