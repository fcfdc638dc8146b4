#pragma once

#include "core/Puzzle.h"
#include "outside/AppError.h"
#include "outside/FontObject.h"
#include "outside/GridControl.h"

#include <QString>
#include <memory>
#include <optional>

class IniFileReader;
class frmConfiguracion;
class frmListaJuegos;

// The puzzle board: holds one puzzle, shows its letters in a grid and
// carries the player's marks on the cells. A cell is marked when its back
// colour in the grid is anything but −1; there is no other record of marks.
//
// Properties are plain storage: after changing the puzzle through them,
// call Refresh.
class ctlCuadricula : public GridControl {
    Q_OBJECT

public:
    explicit ctlCuadricula(QWidget* parent = nullptr);
    ~ctlCuadricula() override;

    // Published interface, in its order.
    void ShowSolution();
    void ShowConfiguration();
    bool ShowGames();
    void Save();
    void Refresh(bool ReadFromRegistry);
    // GethWnd, GetGridWidth, GetGridHeight: GridControl's.
    void ShowHelp();
    void ShowAbout();

    qint32 Columns() const { return Columns_; }
    void SetColumns(qint32 value) { Columns_ = value; }
    qint32 Rows() const { return Rows_; }
    void SetRows(qint32 value) { Rows_ = value; }
    qint32 NumeroJuego() const { return NumeroJuego_; }
    void SetNumeroJuego(qint32 value) { NumeroJuego_ = value; }
    QString Titulo() const { return Titulo_; }
    void SetTitulo(const QString& value) { Titulo_ = value; }
    QString Palabras() const { return Palabras_; }
    void SetPalabras(const QString& value) { Palabras_ = value; }
    QString Letras() const { return Letras_; }
    void SetLetras(const QString& value) { Letras_ = value; }
    QString Solucion() const { return Solucion_; }
    void SetSolucion(const QString& value) { Solucion_ = value; }
    bool ReadOnly() const { return ReadOnly_; }
    void SetReadOnly(bool value) { ReadOnly_ = value; }

    // The appearance members, as the settings dialog and tests see them.
    qint32 BackgroundColour() const { return backColour_; }
    qint32 MarkedColour() const { return markedColour_; }
    qint32 ActiveCellColour() const { return activeColour_; }
    qint32 LineColour() const { return lineColour_; }
    qint32 TextColour() const { return textColour_; }
    QString PictureFile() const { return pictureFile_; }
    FontRef BoardFont() const { return font_; }

    // For the settings dialog while ShowConfiguration has it open; without
    // an open dialog they do nothing.
    void ApplyDialogSettings();
    void SetDialogDefaults();

    // Reads the puzzle numbered NumeroJuego from the data file into the
    // board, all or nothing: on failure the board keeps the puzzle it had.
    void LoadPuzzle();

    // A save that failed before a switch, or at the close: the player hears
    // the first time that progress cannot be kept, and plays on.
    void ReportUnsavedProgress(const AppError& error);
    bool ToldUnsavedProgress() const { return toldUnsavedProgress_; }

signals:
    void ChangeConfiguration();

protected:
    // Steps of the published members, for a class built on the board.
    void ConvertCellIndex(qint32& index, qint32& column, qint32& row) const;
    void LoadConfiguration();
    void SaveConfiguration();
    void ApplyConfiguration(bool ReloadSettings, bool NotifyChange);

private:
    // One puzzle as the data file gives it.
    void TakePuzzle(const Puzzle& puzzle);

    // What a failed choice restores: the puzzle record and its marks.
    struct Shown {
        qint32 number;
        Puzzle puzzle;
        QString marks;
    };
    Shown CurrentlyShown() const;
    void ShowAgain(const Shown& shown);
    void ChangePuzzle(qint32 chosen);

    void InitializeDefaults();
    void BuildGrid();
    void ToggleCell(qint32 column, qint32 row);
    void RepaintMarkedCells();
    void SelectFirstCellActive();
    void MostrarSoloLetrasDeSolucion();
    void Load(bool ReadFromRegistry);
    QString MarkedCellList() const;
    std::optional<AppError> MarkCellList(const QString& marks, bool* pastTheGrid = nullptr);
    std::optional<QString> StoredSetting(const char* name) const;
    double StoredFontSize() const;
    void ReadColour(const char* name, qint32& member, int systemColour);
    void CargarLista(frmListaJuegos& form);
    qint32 ChooseGame();
    bool StillListed(frmListaJuegos& form, qint32 chosen);

    void CellChosen(qint32 column, qint32 row) override;
    QString DataFilePath() const;
    void OpenSolutionWindow();
    void SetGridSpeech();

    std::unique_ptr<IniFileReader> dataFile_;
    frmConfiguracion* settingsDialog_ = nullptr;
    qint32 Rows_ = 0;
    qint32 Columns_ = 0;
    bool ReadOnly_ = false;
    QString pictureFile_;
    qint32 NumeroJuego_ = 0;
    QString Titulo_;
    QString Letras_;
    QString Palabras_;
    QString Solucion_;
    qint32 backColour_ = 0;
    qint32 markedColour_ = 0;
    qint32 activeColour_ = 0;
    qint32 lineColour_ = 0;
    qint32 textColour_ = 0;
    FontRef font_;
    bool damagedMarks_ = false;   // the last Load skipped entries it could not read
    bool marksKeptAside_ = false; // the last Load found marks past the last cell
    bool toldUnsavedProgress_ = false;
};
