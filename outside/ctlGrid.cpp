#include "outside/ctlGrid.h"

#include "outside/AppError.h"
#include "outside/MessageCatalogue.h"
#include "outside/WindowHandle.h"
#include "outside/WindowServices.h"
#include "outside/ctlGridAccessible.h"

#include <QFileInfo>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QHash>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStaticText>
#include <QStyle>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {

// Room around a cell's text: a letter cell stays square up to a "W".
constexpr int HorizontalPadding = 6;
constexpr int VerticalPadding = 4;
// Frame drawn around a current cell that shows a colour of its own.
constexpr int CurrentFrameWidth = 3;

// Beyond these a grid would not fit the pixel arithmetic of its window. Rows
// have no limit of their own: a list of puzzles may be long.
constexpr qint64 MaxCells = 1000000;
constexpr int MaxColumns = 32767;
constexpr int MaxColumnWidth = 65535;
// Distinct fonts whose measurements are kept between font changes.
constexpr size_t MaxKeptFonts = 16;

// The one Windows text-drawing flag in which the callers' formats differ:
// both also centre vertically, keep to one line and end too long a text
// with an ellipsis.
constexpr int DtCenter = 0x1;

// The text colour to use on background: the preferred one unless it
// would hardly show, then black or white.
QColor ReadableOn(const QColor& background, const QColor& preferred) {
    auto luminance = [](const QColor& c) {
        return 0.299 * c.red() + 0.587 * c.green() + 0.114 * c.blue();
    };
    const double back = luminance(background);
    if (std::abs(back - luminance(preferred)) >= 96.0)
        return preferred;
    return back < 128.0 ? QColor(Qt::white) : QColor(Qt::black);
}

[[noreturn]] void RaiseBadAddress(const char* member, qint32 column, qint32 row) {
    throw AppError(ErrorNumber::SubscriptOutOfRange, QStringLiteral("ctlGrid.") + member,
                   MessageCatalogue::Text(11603).arg(column).arg(row));
}

[[noreturn]] void RaiseBadArgument(const char* member, const QString& what) {
    throw AppError(ErrorNumber::InvalidArgument, QStringLiteral("ctlGrid.") + member,
                   MessageCatalogue::Text(11604).arg(what));
}

} // namespace

struct ctlGrid::Cell {
    QString text;
    QString data;
    FontRef font;
    qint32 backColor = -1;
    qint32 format = CellFormat::Centred;
    int fontIndex = -1;    // into Impl::fonts; -1 until resolved
    int measuredWith = -1; // font index textWidth belongs to
    int textWidth = 0;
};

// One distinct font in use, with its measurements kept so that neither a
// layout nor a paint measures the same text twice.
struct ctlGrid::FontEntry {
    explicit FontEntry(const FontObject& object)
        : source(object), font(object.ToQFont()), metrics(font), lineHeight(metrics.height()) {
        latinAdvances.fill(-1);
    }

    // Text of Latin letters only is measured letter by letter from kept
    // advances: a list of a hundred thousand puzzle titles would otherwise
    // spend seconds shaping each title. Other text is shaped whole.
    int Width(const QString& text) {
        int width = 0;
        for (const QChar c : text) {
            const char16_t code = c.unicode();
            if (code < 0x20 || code >= latinAdvances.size())
                return ShapedWidth(text);
            int& advance = latinAdvances[code];
            if (advance < 0)
                advance = metrics.horizontalAdvance(c);
            width += advance;
        }
        return width;
    }

    int ShapedWidth(const QString& text) {
        auto found = shaped.constFind(text);
        if (found == shaped.cend())
            found = shaped.insert(text, metrics.horizontalAdvance(text));
        return *found;
    }

    // Laid out only when first painted: a long list is measured whole but
    // only its visible rows are ever drawn.
    const QStaticText& Prepared(const QString& text) {
        auto found = prepared.find(text);
        if (found == prepared.end()) {
            QStaticText laidOut(text);
            laidOut.setTextFormat(Qt::PlainText);
            laidOut.prepare(QTransform(), font);
            found = prepared.insert(text, laidOut);
        }
        return *found;
    }

    FontObject source;
    QFont font;
    QFontMetrics metrics;
    int lineHeight;
    std::array<int, 0x250> latinAdvances; // up to Latin Extended-B
    QHash<QString, int> shaped;
    QHash<QString, QStaticText> prepared;
};

struct ctlGrid::Impl {
    // Row 0 is always stored, so HeaderColumns may change at any time.
    int columns = 0;
    int rows = 0;
    std::vector<Cell> cells;
    std::vector<int> manualWidths; // -1: the column fits its text

    bool headerColumns = false;
    bool gridLines = true;

    int currentColumn = 0;
    int currentRow = 0;
    bool revealPending = false; // selected while painting was off

    // Layout, recomputed only when something it depends on changed.
    bool layoutDirty = true;
    bool fontsStale = true;
    std::vector<FontEntry> fonts;
    int gridFontIndex = 0;
    std::vector<int> columnLeft; // columns + 1 edges
    int rowHeight = 0;
    int headerHeight = 0; // 0 without a header row

    QPixmap picture;
    QPixmap scaledPicture;

    bool Contains(qint32 column, qint32 row) const {
        const int firstRow = headerColumns ? 0 : 1;
        return column >= 1 && column <= columns && row >= firstRow && row <= rows;
    }

    Cell& At(const char* member, qint32 column, qint32 row) {
        if (!Contains(column, row))
            RaiseBadAddress(member, column, row);
        return cells[static_cast<size_t>(row) * columns + (column - 1)];
    }

    Cell& CellAt(int column, int row) {
        return cells[static_cast<size_t>(row) * columns + (column - 1)];
    }

    int FontIndexFor(const FontObject& object) {
        for (size_t i = 0; i < fonts.size(); ++i)
            if (fonts[i].source == object)
                return static_cast<int>(i);
        fonts.emplace_back(object);
        return static_cast<int>(fonts.size() - 1);
    }

    void Measure(const FontObject& gridFont);
    bool EnsureLayout(const FontObject& gridFont) {
        if (!layoutDirty)
            return false;
        Measure(gridFont);
        layoutDirty = false;
        return true;
    }

    int GridWidth() const { return columnLeft.empty() ? 0 : columnLeft.back(); }
    // A grid without columns has no cells, whatever its number of rows.
    int BodyHeight() const { return columns > 0 ? rows * rowHeight : 0; }
    int GridHeight() const { return columns > 0 ? headerHeight + BodyHeight() : 0; }
    int ColumnWidth(int column) const { return columnLeft[column] - columnLeft[column - 1]; }

    // Cell rectangle in viewport coordinates, grid line included.
    QRect Box(int column, int row, int scrollX, int scrollY) const {
        const int left = columnLeft[column - 1] - scrollX;
        if (row == 0)
            return QRect(left, 0, ColumnWidth(column), headerHeight);
        return QRect(left, headerHeight + (row - 1) * rowHeight - scrollY, ColumnWidth(column),
                     rowHeight);
    }

    // First and last column that touch [left, right] in grid coordinates.
    std::pair<int, int> ColumnsWithin(int left, int right) const {
        auto first = std::upper_bound(columnLeft.begin(), columnLeft.end(), left);
        auto last = std::upper_bound(columnLeft.begin(), columnLeft.end(), right);
        return {std::max(1, int(first - columnLeft.begin())),
                std::min(columns, int(last - columnLeft.begin()))};
    }
};

void ctlGrid::Impl::Measure(const FontObject& gridFont) {
    if (fontsStale) {
        // Measurements are kept per font value, so they stay good across
        // rebuilds; only a long run of font changes starts them afresh.
        const bool forget = fonts.size() > MaxKeptFonts;
        if (forget)
            fonts.clear();
        for (Cell& cell : cells) {
            cell.fontIndex = -1;
            if (forget)
                cell.measuredWith = -1;
        }
        gridFontIndex = FontIndexFor(gridFont);
        fontsStale = false;
    }
    for (Cell& cell : cells) {
        if (cell.fontIndex < 0)
            cell.fontIndex = cell.font ? FontIndexFor(*cell.font) : gridFontIndex;
        if (cell.measuredWith != cell.fontIndex) {
            cell.textWidth = fonts[cell.fontIndex].Width(cell.text);
            cell.measuredWith = cell.fontIndex;
        }
    }

    const size_t headerEnd = static_cast<size_t>(columns);
    int lineHeight = fonts[gridFontIndex].lineHeight;
    for (size_t i = headerEnd; i < cells.size(); ++i)
        lineHeight = std::max(lineHeight, fonts[cells[i].fontIndex].lineHeight);
    rowHeight = lineHeight + VerticalPadding;

    headerHeight = 0;
    if (headerColumns) {
        int headerLine = fonts[gridFontIndex].lineHeight;
        for (size_t i = 0; i < headerEnd; ++i)
            headerLine = std::max(headerLine, fonts[cells[i].fontIndex].lineHeight);
        headerHeight = headerLine + VerticalPadding;
    }

    std::vector<int> widths(static_cast<size_t>(columns), 0);
    const int firstRow = headerColumns ? 0 : 1;
    for (int row = firstRow; row <= rows; ++row)
        for (int column = 1; column <= columns; ++column)
            widths[column - 1] =
                std::max(widths[column - 1], CellAt(column, row).textWidth + HorizontalPadding);

    columnLeft.assign(static_cast<size_t>(columns) + 1, 0);
    for (int column = 1; column <= columns; ++column) {
        const int manual = manualWidths[column - 1];
        const int fitted = std::min(MaxColumnWidth, std::max(widths[column - 1], rowHeight));
        columnLeft[column] = columnLeft[column - 1] + (manual >= 0 ? manual : fitted);
    }
}

ctlGrid::ctlGrid(QWidget* parent) : QAbstractScrollArea(parent), d_(new Impl) {
    font_ = MakeFont(FontObject::FromQFont(QWidget::font()));
    setFocusPolicy(Qt::StrongFocus);
    // Every pixel of a paint is drawn here, so Qt need not clear it first.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    d_->columnLeft.assign(1, 0);
    ctlGridAccessible::Install();
}

ctlGrid::~ctlGrid() {
    delete d_;
}

void ctlGrid::SetRedraw(bool redraw) {
    redraw_ = redraw;
    if (!redraw)
        return;
    d_->EnsureLayout(*font_);
    UpdateScrollBars();
    if (d_->revealPending && d_->currentRow > 0)
        RevealCell(d_->currentColumn, d_->currentRow);
    d_->revealPending = false;
    viewport()->update();
    ctlGridAccessible::CurrentCellChanged(this);
}

void ctlGrid::Clear() {
    ArmarGrilla(0, 0);
}

// Only the styles the callers use: a sunken border and scroll bars as
// needed, both set from the start.
void ctlGrid::SetBorderStyle(int style) {
    if (style != 2)
        RaiseBadArgument("BorderStyle", QString::number(style));
}

void ctlGrid::SetHeaderColumns(bool header) {
    d_->headerColumns = header;
    d_->layoutDirty = true;
    RepaintAll();
    ctlGridAccessible::Rebuilt(this);
}

void ctlGrid::SetGridLines(bool lines) {
    d_->gridLines = lines;
    RepaintAll();
}

// The current cell's colour is what shows where the keyboard is.
void ctlGrid::SetDrawFocusRectangle(bool draw) {
    if (draw)
        RaiseBadArgument("DrawFocusRectangle", QStringLiteral("True"));
}

void ctlGrid::SetEnabled(bool enabled) {
    setEnabled(enabled);
}

void ctlGrid::SetScrollBarStyle(int style) {
    if (style != 2)
        RaiseBadArgument("ScrollBarStyle", QString::number(style));
}

void ctlGrid::ArmarGrilla(qint32 columns, qint32 rows) {
    if (columns < 0 || rows < 0 || columns > MaxColumns)
        RaiseBadArgument("ArmarGrilla", QStringLiteral("%1 × %2").arg(columns).arg(rows));
    if (qint64(columns) * (qint64(rows) + 1) > MaxCells)
        throw AppError(ErrorNumber::Overflow, QStringLiteral("ctlGrid.ArmarGrilla"),
                       MessageCatalogue::Text(11605).arg(columns).arg(rows));
    d_->columns = columns;
    d_->rows = rows;
    d_->cells.assign(static_cast<size_t>(columns) * (rows + 1), Cell());
    d_->manualWidths.assign(static_cast<size_t>(columns), -1);
    d_->currentColumn = 0;
    d_->currentRow = 0;
    d_->layoutDirty = true;
    RepaintAll();
    ctlGridAccessible::Rebuilt(this);
}

void ctlGrid::CellDetails(qint32 column, qint32 row, const QString& text, qint32 format,
                          const QString& data) {
    Cell& cell = d_->At("CellDetails", column, row);
    cell.format = format;
    cell.data = data;
    if (cell.text != text) {
        cell.text = text;
        cell.measuredWith = -1;
        d_->layoutDirty = true;
    }
    CellChanged(column, row);
}

QString ctlGrid::CellText(qint32 column, qint32 row) const {
    return d_->At("CellText", column, row).text;
}

void ctlGrid::SetCellText(qint32 column, qint32 row, const QString& text) {
    Cell& cell = d_->At("CellText", column, row);
    if (cell.text == text)
        return;
    cell.text = text;
    cell.measuredWith = -1;
    d_->layoutDirty = true;
    CellChanged(column, row);
}

qint32 ctlGrid::CellBackColor(qint32 column, qint32 row) const {
    return d_->At("CellBackColor", column, row).backColor;
}

void ctlGrid::SetCellBackColor(qint32 column, qint32 row, qint32 colour) {
    Cell& cell = d_->At("CellBackColor", column, row);
    if (cell.backColor == colour)
        return;
    cell.backColor = colour;
    CellChanged(column, row);
    ctlGridAccessible::CellStateChanged(this, column, row);
}

FontRef ctlGrid::CellFont(qint32 column, qint32 row) const {
    return d_->At("CellFont", column, row).font;
}

void ctlGrid::SetCellFont(qint32 column, qint32 row, FontRef font) {
    Cell& cell = d_->At("CellFont", column, row);
    cell.font = std::move(font);
    cell.fontIndex = -1;
    d_->layoutDirty = true;
    CellChanged(column, row);
    ctlGridAccessible::CellStateChanged(this, column, row);
}

QString ctlGrid::CellData(qint32 column, qint32 row) const {
    return d_->At("CellData", column, row).data;
}

bool ctlGrid::CellActive(qint32 column, qint32 row) const {
    d_->At("CellActive", column, row);
    return row >= 1;
}

void ctlGrid::SelectCell(qint32 column, qint32 row) {
    d_->At("SelectCell", column, row);
    if (row >= 1)
        MakeCurrent(column, row);
}

void ctlGrid::ChangeCellSelected(qint32 column, qint32 row) {
    d_->At("ChangeCellSelected", column, row);
    if (row >= 1)
        MakeCurrent(column, row);
}

qint32 ctlGrid::GetRowSelected() const {
    return d_->currentRow;
}

qint32 ctlGrid::GetColumnSelected() const {
    return d_->currentColumn;
}

qint32 ctlGrid::GetRowCount() const {
    return d_->rows;
}

qint32 ctlGrid::GetColumnCount() const {
    return d_->columns;
}

void ctlGrid::SetBackColor(qint32 colour) {
    backColor_ = colour;
    RepaintAll();
}

void ctlGrid::SetLineColor(qint32 colour) {
    lineColor_ = colour;
    RepaintAll();
}

void ctlGrid::SetTextColor(qint32 colour) {
    textColor_ = colour;
    RepaintAll();
}

void ctlGrid::SetActiveCellColor(qint32 colour) {
    activeCellColor_ = colour;
    RepaintAll();
}

// A file that cannot be read leaves the grid without a picture. Only a
// regular file is read: a pipe or a device named by a hand-edited setting
// could keep the program waiting for ever.
void ctlGrid::SetPictureFile(const QString& path) {
    pictureFile_ = path;
    d_->picture = QPixmap();
    d_->scaledPicture = QPixmap();
    if (!path.isEmpty() && QFileInfo(path).isFile())
        d_->picture.load(path);
    RepaintAll();
}

void ctlGrid::SetFont(FontRef font) {
    font_ = font ? std::move(font) : MakeFont(FontObject::FromQFont(QWidget::font()));
    d_->fontsStale = true;
    d_->layoutDirty = true;
}

void ctlGrid::ActualizarFont() {
    d_->fontsStale = true;
    d_->layoutDirty = true;
    LayoutChanged();
}

qint32 ctlGrid::ColumnWidth(qint32 column) const {
    if (column < 1 || column > d_->columns)
        RaiseBadAddress("ColumnWidth", column, 1);
    d_->EnsureLayout(*font_);
    return d_->ColumnWidth(column);
}

void ctlGrid::SetColumnWidth(qint32 column, qint32 width) {
    if (column < 1 || column > d_->columns)
        RaiseBadAddress("ColumnWidth", column, 1);
    if (width < 0 || width > MaxColumnWidth)
        RaiseBadArgument("ColumnWidth", QString::number(width));
    d_->manualWidths[column - 1] = width;
    d_->layoutDirty = true;
    LayoutChanged();
}

qint32 ctlGrid::GetGridWidth(bool withBorder) const {
    d_->EnsureLayout(*font_);
    return d_->GridWidth() + (withBorder ? 2 * frameWidth() : 0);
}

qint32 ctlGrid::GetGridHeight(bool withBorder) const {
    d_->EnsureLayout(*font_);
    return d_->GridHeight() + (withBorder ? 2 * frameWidth() : 0);
}

qint32 ctlGrid::GethWnd() {
    return WindowHandle::Of(this);
}

void ctlGrid::CellChanged(qint32 column, qint32 row) {
    if (!redraw_)
        return;
    if (d_->layoutDirty) {
        const std::vector<int> columnLeft = d_->columnLeft;
        const int rowHeight = d_->rowHeight;
        const int headerHeight = d_->headerHeight;
        d_->EnsureLayout(*font_);
        if (columnLeft != d_->columnLeft || rowHeight != d_->rowHeight ||
            headerHeight != d_->headerHeight) {
            UpdateScrollBars();
            viewport()->update();
            return;
        }
    }
    viewport()->update(
        d_->Box(column, row, horizontalScrollBar()->value(), verticalScrollBar()->value()));
}

void ctlGrid::LayoutChanged() {
    if (!redraw_)
        return;
    d_->EnsureLayout(*font_);
    UpdateScrollBars();
    viewport()->update();
}

void ctlGrid::RepaintAll() {
    if (redraw_)
        viewport()->update();
}

// Decides the bars from the room inside the frame, not from the viewport,
// which still has the old bars taken off: a grid that fits once its bars
// are gone must lose them.
void ctlGrid::UpdateScrollBars() {
    if (d_->layoutDirty)
        return;
    const QSize inside = contentsRect().size();
    const int barWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    bool vertical = false, horizontal = false;
    for (int pass = 0; pass < 2; ++pass) {
        vertical =
            d_->headerHeight + d_->BodyHeight() > inside.height() - (horizontal ? barWidth : 0);
        horizontal = d_->GridWidth() > inside.width() - (vertical ? barWidth : 0);
    }
    const QSize room(std::max(0, inside.width() - (vertical ? barWidth : 0)),
                     std::max(0, inside.height() - (horizontal ? barWidth : 0)));
    const int bodyRoom = std::max(0, room.height() - d_->headerHeight);
    horizontalScrollBar()->setRange(0, std::max(0, d_->GridWidth() - room.width()));
    horizontalScrollBar()->setPageStep(std::max(1, room.width()));
    horizontalScrollBar()->setSingleStep(std::max(1, d_->rowHeight));
    verticalScrollBar()->setRange(0, std::max(0, d_->BodyHeight() - bodyRoom));
    verticalScrollBar()->setPageStep(std::max(1, bodyRoom));
    verticalScrollBar()->setSingleStep(std::max(1, d_->rowHeight));
}

void ctlGrid::MakeCurrent(qint32 column, qint32 row) {
    const int oldColumn = d_->currentColumn;
    const int oldRow = d_->currentRow;
    d_->currentColumn = column;
    d_->currentRow = row;
    if (!redraw_) {
        d_->revealPending = true;
        return;
    }
    if (d_->EnsureLayout(*font_))
        UpdateScrollBars();
    RevealCell(column, row);
    const int scrollX = horizontalScrollBar()->value();
    const int scrollY = verticalScrollBar()->value();
    if (oldRow > 0 && d_->Contains(oldColumn, oldRow))
        viewport()->update(d_->Box(oldColumn, oldRow, scrollX, scrollY));
    viewport()->update(d_->Box(column, row, scrollX, scrollY));
    ctlGridAccessible::CurrentCellChanged(this);
}

void ctlGrid::RevealCell(qint32 column, qint32 row) {
    const int left = d_->columnLeft[column - 1];
    const int right = d_->columnLeft[column];
    const int top = (row - 1) * d_->rowHeight;
    const int bottom = top + d_->rowHeight;
    const int roomX = viewport()->width();
    const int roomY = std::max(0, viewport()->height() - d_->headerHeight);

    QScrollBar* across = horizontalScrollBar();
    if (right > across->value() + roomX)
        across->setValue(right - roomX);
    if (left < across->value())
        across->setValue(left);
    QScrollBar* down = verticalScrollBar();
    if (bottom > down->value() + roomY)
        down->setValue(bottom - roomY);
    if (top < down->value())
        down->setValue(top);
}

bool ctlGrid::MoveByKey(const QKeyEvent* event) {
    const bool control = event->modifiers() & Qt::ControlModifier;
    const int columns = d_->columns;
    const int rows = d_->rows;
    int column = d_->currentColumn;
    int row = d_->currentRow;
    const bool none = row < 1;
    const int page = d_->rowHeight > 0
                         ? std::max(1, (viewport()->height() - d_->headerHeight) / d_->rowHeight)
                         : 1;
    switch (event->key()) {
    case Qt::Key_Left:
        --column;
        break;
    case Qt::Key_Right:
        ++column;
        break;
    case Qt::Key_Up:
        --row;
        break;
    case Qt::Key_Down:
        ++row;
        break;
    case Qt::Key_PageUp:
        row -= page;
        break;
    case Qt::Key_PageDown:
        row += page;
        break;
    // Home and End go to the row's ends first, then to the column's: a
    // one-column list still reaches its first and last rows.
    case Qt::Key_Home:
        if (control || column <= 1)
            row = 1;
        column = 1;
        break;
    case Qt::Key_End:
        if (control || column >= columns)
            row = rows;
        column = columns;
        break;
    default:
        return false;
    }
    if (columns < 1 || rows < 1)
        return true;
    if (none) {
        column = 1;
        row = 1;
    }
    column = std::clamp(column, 1, columns);
    row = std::clamp(row, 1, rows);
    if (column != d_->currentColumn || row != d_->currentRow)
        MakeCurrent(column, row);
    return true;
}

namespace {

// The code a key gives to CellKeyPress: Enter 13, Space 32, a letter its
// capital, other characters their own code; 0 for keys that give none.
qint16 KeyCode(const QKeyEvent* event) {
    const int key = event->key();
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Space:
        return 32;
    default:
        break;
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<qint16>(key);
    const QString text = event->text();
    if (!text.isEmpty() && text.at(0).isPrint()) {
        const char16_t code = text.at(0).toUpper().unicode();
        if (code <= std::numeric_limits<qint16>::max())
            return static_cast<qint16>(code);
    }
    if (key > 0x20 && key <= 0xFF)
        return static_cast<qint16>(key);
    return 0;
}

} // namespace

void ctlGrid::keyPressEvent(QKeyEvent* event) {
    const auto commandKeys = Qt::AltModifier | Qt::MetaModifier;
    if (!(event->modifiers() & commandKeys) && MoveByKey(event)) {
        event->accept();
        return;
    }
    if (event->modifiers() & (commandKeys | Qt::ControlModifier)) {
        event->ignore();
        return;
    }
    qint16 code = KeyCode(event);
    if (code == 0) {
        event->ignore();
        return;
    }
    const int key = event->key();
    // Enter and Esc go on to the window after the cell has seen them, so
    // that a dialog's default and cancel buttons still answer them.
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape)
        event->ignore();
    else
        event->accept();
    if (d_->currentRow > 0)
        emit CellKeyPress(d_->currentColumn, d_->currentRow, code);
}

void ctlGrid::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    d_->EnsureLayout(*font_);
    const QPoint at = event->position().toPoint();
    const int scrollX = horizontalScrollBar()->value();
    const int scrollY = verticalScrollBar()->value();
    const int x = at.x() + scrollX;
    if (d_->columns < 1 || x < 0 || x >= d_->GridWidth())
        return;
    const int column = d_->ColumnsWithin(x, x).first;
    int row = 0;
    if (at.y() >= d_->headerHeight) {
        const int y = at.y() - d_->headerHeight + scrollY;
        if (y >= d_->BodyHeight())
            return;
        row = y / d_->rowHeight + 1;
    } else if (!d_->headerColumns) {
        return;
    }
    event->accept();
    if (row >= 1)
        MakeCurrent(column, row);
    emit CellClick(column, row);
}

void ctlGrid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

// The header row stays in place, so a scroll repaints rather than moves.
void ctlGrid::scrollContentsBy(int, int) {
    RepaintAll();
}

void ctlGrid::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    ctlGridAccessible::FocusEntered(this);
}

void ctlGrid::paintEvent(QPaintEvent* event) {
    if (!redraw_)
        return;
    if (d_->EnsureLayout(*font_)) {
        UpdateScrollBars();
        viewport()->update();
    }
    ++paintCount_;
    Impl& d = *d_;
    const int scrollX = horizontalScrollBar()->value();
    const int scrollY = verticalScrollBar()->value();
    const QRect area = event->rect();
    const QSize room = viewport()->size();

    QPainter painter(viewport());
    painter.fillRect(area, ColourFromWindows(backColor_));
    if (d.columns < 1)
        return;

    const QColor lineColour = ColourFromWindows(lineColor_);
    const QColor textColour = ColourFromWindows(textColor_);
    const QColor activeColour = ColourFromWindows(activeCellColor_);
    const QColor headerColour = palette().color(QPalette::Button);

    // Most cells share font and colour: set them on the painter only on a change.
    int painterFont = -1;
    QColor painterInk;
    auto paintCell = [&](int column, int row, const QRect& box) {
        Cell& cell = d.CellAt(column, row);
        const QRect inner = d.gridLines ? box.adjusted(0, 0, -1, -1) : box;
        const bool current = row > 0 && column == d.currentColumn && row == d.currentRow;
        QColor ink = textColour;
        if (cell.backColor != -1) {
            painter.fillRect(inner, ColourFromWindows(cell.backColor));
        } else if (current) {
            painter.fillRect(inner, activeColour);
            ink = ReadableOn(activeColour, textColour);
        } else if (row == 0) {
            painter.fillRect(inner, headerColour);
        }
        if (!cell.text.isEmpty()) {
            FontEntry& font = d.fonts[cell.fontIndex];
            if (cell.fontIndex != painterFont) {
                painter.setFont(font.font);
                painterFont = cell.fontIndex;
            }
            if (ink != painterInk) {
                painter.setPen(ink);
                painterInk = ink;
            }
            const int room = inner.width() - HorizontalPadding;
            const bool centred = cell.format & DtCenter;
            if (cell.textWidth > room) {
                painter.drawText(
                    inner.adjusted(HorizontalPadding / 2, VerticalPadding / 2,
                                   -HorizontalPadding / 2, -VerticalPadding / 2),
                    Qt::TextSingleLine | Qt::AlignVCenter |
                        (centred ? Qt::AlignHCenter : Qt::AlignLeft),
                    font.metrics.elidedText(cell.text, Qt::ElideRight, std::max(0, room)));
            } else {
                const int x = centred ? inner.left() + (inner.width() - cell.textWidth) / 2
                                      : inner.left() + HorizontalPadding / 2;
                const int y = inner.top() + (inner.height() - font.lineHeight) / 2;
                // Static text draws no underline or strike-through.
                if (font.font.underline() || font.font.strikeOut())
                    painter.drawText(QRect(x, y, cell.textWidth, font.lineHeight),
                                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, cell.text);
                else
                    painter.drawStaticText(x, y, font.Prepared(cell.text));
            }
        }
        if (current && cell.backColor != -1) {
            // Keep the cell's own colour in sight inside a frame of the
            // active colour.
            const int edge = std::min(CurrentFrameWidth, std::max(1, inner.width() / 4));
            painter.fillRect(QRect(inner.left(), inner.top(), inner.width(), edge), activeColour);
            painter.fillRect(QRect(inner.left(), inner.bottom() + 1 - edge, inner.width(), edge),
                             activeColour);
            painter.fillRect(QRect(inner.left(), inner.top(), edge, inner.height()), activeColour);
            painter.fillRect(QRect(inner.right() + 1 - edge, inner.top(), edge, inner.height()),
                             activeColour);
        }
    };

    // Rows first..last of one band, clipped to band (viewport coordinates).
    auto paintBand = [&](int firstRow, int lastRow, const QRect& band) {
        const QRect dirty = band & area;
        if (dirty.isEmpty() || firstRow > lastRow)
            return;
        painter.save();
        painter.setClipRect(dirty);
        painterFont = -1;
        painterInk = QColor();
        const auto [firstColumn, lastColumn] =
            d.ColumnsWithin(dirty.left() + scrollX, dirty.right() + scrollX);
        for (int row = firstRow; row <= lastRow; ++row)
            for (int column = firstColumn; column <= lastColumn; ++column)
                paintCell(column, row, d.Box(column, row, scrollX, scrollY));
        if (d.gridLines) {
            const QRect first = d.Box(firstColumn, firstRow, scrollX, scrollY);
            const QRect last = d.Box(lastColumn, lastRow, scrollX, scrollY);
            const QRect span(first.topLeft(), last.bottomRight());
            for (int column = firstColumn; column <= lastColumn; ++column) {
                const int x = d.columnLeft[column] - 1 - scrollX;
                painter.fillRect(QRect(x, span.top(), 1, span.height()), lineColour);
            }
            for (int row = firstRow; row <= lastRow; ++row) {
                const int y = d.Box(firstColumn, row, scrollX, scrollY).bottom();
                painter.fillRect(QRect(span.left(), y, span.width(), 1), lineColour);
            }
        }
        painter.restore();
    };

    const QRect body(0, d.headerHeight, room.width(), room.height() - d.headerHeight);
    if (d.rows > 0 && !(body & area).isEmpty()) {
        const QRect grid(-scrollX, d.headerHeight - scrollY, d.GridWidth(), d.BodyHeight());
        if (!d.picture.isNull()) {
            if (d.scaledPicture.size() != grid.size())
                d.scaledPicture =
                    d.picture.scaled(grid.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            const QRect shown = grid & body & area;
            if (!shown.isEmpty())
                painter.drawPixmap(shown, d.scaledPicture, shown.translated(-grid.topLeft()));
        }
        const int top = area.top() - d.headerHeight + scrollY;
        const int bottom = area.bottom() - d.headerHeight + scrollY;
        const int firstRow = std::max(1, top / d.rowHeight + 1);
        const int lastRow = std::min(d.rows, bottom / d.rowHeight + 1);
        paintBand(firstRow, lastRow, body);
    }
    if (d.headerColumns)
        paintBand(0, 0, QRect(0, 0, room.width(), d.headerHeight));
}

void ctlGrid::SetSpeech(const GridSpeech& speech) {
    speech_ = speech;
    ctlGridAccessible::SpeechChanged(this);
}

bool ctlGrid::HeaderColumns() const {
    return d_->headerColumns;
}

QRect ctlGrid::CellRect(qint32 column, qint32 row) const {
    d_->At("CellRect", column, row);
    d_->EnsureLayout(*font_);
    return d_->Box(column, row, horizontalScrollBar()->value(), verticalScrollBar()->value());
}
