#pragma once

#include "outside/FontObject.h"
#include "outside/GridControl.h"

#include <QString>

// The words to find, one a row under a heading. The player crosses a word
// out, or in again, by clicking it or pressing Space or Enter on it; a word
// is crossed out when its cell has a font of its own with strike-through.
// The crossed-out rows are kept per puzzle beside the board's marks.
class ctlLista : public GridControl {
    Q_OBJECT

public:
    explicit ctlLista(QWidget* parent = nullptr);
    ~ctlLista() override;

    QString Palabras() const { return Palabras_; }
    void SetPalabras(const QString& value) { Palabras_ = value; }
    qint32 NumeroJuego() const { return NumeroJuego_; }
    void SetNumeroJuego(qint32 value) { NumeroJuego_ = value; }

    void Refresh();
    void Save();
    void SeleccionarPalabra(qint32 column, qint32 row);
    // GethWnd, GetGridWidth, GetGridHeight and Grid: GridControl's.

    // The last Refresh found crossed-out rows this list does not have, saved
    // for another puzzle under the same number, and kept them aside.
    bool RowsKeptAside() const { return rowsKeptAside_; }

private:
    void ReadWordMarks();
    void SetGridSpeech();
    void CellChosen(qint32 column, qint32 row) override;
    // A fresh copy of the cell's own font, or of the grid's when it has none.
    FontRef CopyOfCellFont(qint32 column, qint32 row) const;

    QString Palabras_;
    qint32 NumeroJuego_ = 0;
    bool rowsKeptAside_ = false;
};
