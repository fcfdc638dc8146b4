#pragma once

#include <QWidget>
#include <memory>

class AppServices;
class ProductInfo;
class WindowServices;
class ctlGrid;

// A control of the program's own making drawn by one grid that always
// fills it (the board, the word list): the support objects it owns, the
// shell module it holds for its life, the grid's size for the windows that
// lay it out, and the cell the player chooses by a click or by Space or
// Enter.
class GridControl : public QWidget {
    Q_OBJECT

public:
    ~GridControl() override;

    qint32 GethWnd();
    qint32 GetGridWidth() const;
    qint32 GetGridHeight() const;

    // The inner grid, for the windows that lay the control out and for tests.
    ctlGrid* Grid() const { return grid_; }

protected:
    GridControl(const QString& name, QWidget* parent);

    void resizeEvent(QResizeEvent* event) override;
    // A cell clicked, or Space or Enter on a cell; an error raised here is
    // reported to the player.
    virtual void CellChosen(qint32 column, qint32 row) = 0;

    std::unique_ptr<ProductInfo> productInfo_;
    std::unique_ptr<WindowServices> windowServices_;
    std::unique_ptr<AppServices> appServices_;
    ctlGrid* const grid_;

private:
    void Grid_CellClick(qint32 column, qint32 row);
    void Grid_CellKeyPress(qint32 column, qint32 row, qint16& key);

    qint32 systemModule_ = 0;
};
