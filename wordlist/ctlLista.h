#pragma once

#include "outside/FontObject.h"

#include <QString>
#include <QWidget>
#include <memory>

class AppServices;
class ProductInfo;
class WindowServices;
class ctlGrid;

// The words to find, one a row under a heading. The player crosses a word
// out, or in again, by clicking it or pressing Space or Enter on it; a word
// is crossed out when its cell has a font of its own with strike-through.
// The crossed-out rows are kept per puzzle beside the board's marks.
class ctlLista : public QWidget {
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
    qint32 GethWnd();
    qint32 GetGridWidth() const;
    qint32 GetGridHeight() const;

    ctlGrid* Grid() const { return grid_; }
    // The last Refresh found crossed-out rows this list does not have, saved
    // for another puzzle under the same number, and kept them aside.
    bool RowsKeptAside() const { return rowsKeptAside_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ReadWordMarks();
    void SetGridSpeech();
    void Grid_CellClick(qint32 column, qint32 row);
    void Grid_CellKeyPress(qint32 column, qint32 row, qint16& key);
    // A fresh copy of the cell's own font, or of the grid's when it has none.
    FontRef CopyOfCellFont(qint32 column, qint32 row) const;

    std::unique_ptr<ProductInfo> productInfo_;
    std::unique_ptr<WindowServices> windowServices_;
    std::unique_ptr<AppServices> appServices_;
    qint32 systemModule_ = 0;
    QString Palabras_;
    qint32 NumeroJuego_ = 0;
    bool rowsKeptAside_ = false;
    ctlGrid* grid_;
};
