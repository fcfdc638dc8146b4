#pragma once

#include "outside/FontObject.h"
#include "outside/GridSpeech.h"

#include <QAbstractScrollArea>
#include <QPixmap>
#include <QString>
#include <array>
#include <memory>
#include <vector>

class QPainter;

// Text formats for CellDetails (Windows text-drawing flag sets): both single
// line and vertically centred, with word ellipsis; the grid tells them
// apart by the centring flag alone.
namespace CellFormat {
constexpr int Centred = 0x40925;     // 264485
constexpr int LeftAligned = 0x40924; // 264484
} // namespace CellFormat

// A grid of text cells drawn by the program itself. Cells are addressed
// (column, row), both from 1; row 0 is a header row when HeaderColumns is
// true. Each cell fits its text; the current cell is filled with
// ActiveCellColor while the grid has the keyboard focus, framed with it
// otherwise, and moved with the arrow keys, Home, End, Page Up and Page
// Down. Scroll bars appear when the widget is smaller than the grid.
// Colours never set follow the palette, as the system colours do.
//
// Redraw(false) stops all painting until Redraw(true), which repaints once:
// callers bracket their updates with it. A wrong cell address raises
// AppError 9 (subscript out of range).
class ctlGrid : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit ctlGrid(QWidget* parent = nullptr);
    ~ctlGrid() override;

    // Setup members, set in this order before ArmarGrilla. Only what the
    // game uses is taken: BorderStyle 2 (sunken), ScrollBarStyle 2 (bars as
    // needed), DrawFocusRectangle false; other values raise AppError 5.
    bool Redraw() const { return redraw_; }
    void SetRedraw(bool redraw);
    void Clear() { ArmarGrilla(0, 0); }
    void SetBorderStyle(int style);
    void SetHeaderColumns(bool header);
    void SetGridLines(bool lines);
    void SetDrawFocusRectangle(bool draw);
    void SetEnabled(bool enabled) { setEnabled(enabled); }
    void SetScrollBarStyle(int style);

    // Makes columns × rows cells (plus the header row), none with a colour.
    void ArmarGrilla(qint32 columns, qint32 rows);

    void CellDetails(qint32 column, qint32 row, const QString& text, qint32 format,
                     const QString& data = QString());
    QString CellText(qint32 column, qint32 row) const;
    void SetCellText(qint32 column, qint32 row, const QString& text);
    // −1: no colour of its own. Any other value reads back unchanged.
    qint32 CellBackColor(qint32 column, qint32 row) const;
    void SetCellBackColor(qint32 column, qint32 row, qint32 colour);
    // A font of the cell's own, or nullptr for the grid's Font.
    FontRef CellFont(qint32 column, qint32 row) const;
    void SetCellFont(qint32 column, qint32 row, FontRef font);
    QString CellData(qint32 column, qint32 row) const;
    bool CellActive(qint32 column, qint32 row) const;

    // A header cell cannot be the current one: selecting it does nothing.
    void SelectCell(qint32 column, qint32 row) { Select("SelectCell", column, row); }
    void ChangeCellSelected(qint32 column, qint32 row) {
        Select("ChangeCellSelected", column, row);
    }
    qint32 GetRowSelected() const;
    qint32 GetColumnSelected() const;
    qint32 GetRowCount() const;
    qint32 GetColumnCount() const;

    qint32 BackColor() const { return colours_[Back].value; }
    void SetBackColor(qint32 colour) { SetColour(Back, colour); }
    qint32 LineColor() const { return colours_[Line].value; }
    void SetLineColor(qint32 colour) { SetColour(Line, colour); }
    qint32 TextColor() const { return colours_[Text].value; }
    void SetTextColor(qint32 colour) { SetColour(Text, colour); }
    qint32 ActiveCellColor() const { return colours_[Active].value; }
    void SetActiveCellColor(qint32 colour) { SetColour(Active, colour); }

    // Drawn behind the cells, stretched over the grid; empty: none.
    QString PictureFile() const { return pictureFile_; }
    void SetPictureFile(const QString& path);

    // The grid keeps the object itself; ActualizarFont re-measures with it.
    FontRef Font() const { return font_; }
    void SetFont(FontRef font);
    void ActualizarFont();

    qint32 ColumnWidth(qint32 column) const;
    void SetColumnWidth(qint32 column, qint32 width);

    // Size of the drawn grid in pixels: with true, the border included, so
    // a widget of that size shows every cell without scroll bars.
    qint32 GetGridWidth(bool withBorder = false) const;
    qint32 GetGridHeight(bool withBorder = false) const;

    qint32 GethWnd();

    // What the grid tells a screen reader about itself and its cells; the
    // owner sets it with texts from the catalogue.
    const GridSpeech& Speech() const { return speech_; }
    void SetSpeech(const GridSpeech& speech);
    bool HeaderColumns() const;
    // The cell's box in viewport coordinates, grid line included.
    QRect CellRect(qint32 column, qint32 row) const;
    // The (column, row) of the cell at a viewport point; a null point where there is none.
    QPoint CellUnder(const QPoint& at) const;

signals:
    void CellClick(qint32 column, qint32 row);
    // The handler may change key.
    void CellKeyPress(qint32 column, qint32 row, qint16& key);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct Impl;
    const std::unique_ptr<Impl> d_;

    // With painting on: repaints one cell, or everything when the change
    // moved the cells (LayoutChanged re-measures first).
    void CellChanged(qint32 column, qint32 row);
    void LayoutChanged();
    void RepaintAll();
    void UpdateScrollBars();
    enum ColourRole { Back, Line, Text, Active, ColourRoles };
    struct GridColour {
        qint32 value = 0;
        bool own = false; // set by the owner; otherwise it follows the palette
    };
    void SetColour(ColourRole role, qint32 colour);
    void FollowPalette();
    // Makes the cell current; a wrong address raises AppError 9 from member.
    void Select(const char* member, qint32 column, qint32 row);
    void RevealCell(qint32 column, qint32 row);
    struct PaintPass;
    void PaintBand(PaintPass& pass, int firstRow, int lastRow, const QRect& band);
    void PaintCell(PaintPass& pass, int column, int row, const QRect& box);
    void PaintPicture(QPainter& painter, const QRect& grid, const QRect& shown);
    bool MoveByKey(const QKeyEvent* event);

    bool redraw_ = true;
    std::array<GridColour, ColourRoles> colours_;
    QString pictureFile_;
    FontRef font_;
    GridSpeech speech_;
};
