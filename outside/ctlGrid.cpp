#include "outside/ctlGrid.h"

#include "outside/AppError.h"
#include "outside/MessageCatalogue.h"
#include "outside/WindowHandle.h"
#include "outside/WindowServices.h"
#include "outside/ctlGridAccessible.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QHash>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStaticText>
#include <QStyle>
#include <algorithm>
#include <array>
#include <limits>
#include <qdrawutil.h>
#include <tuple>
#include <utility>

namespace {

// Room around a cell's text: a letter cell stays square up to a "W".
constexpr int HorizontalPadding = 6;
constexpr int VerticalPadding = 4;
constexpr int CurrentFrameWidth = 3;

// Beyond these a grid would not fit the pixel arithmetic of its window. Rows
// have no limit of their own: a list of puzzles may be long, and 2^24 rows
// of 100 pixels still fit.
constexpr qint64 MaxCells = qint64(1) << 24;
constexpr int MaxColumns = 32767;
constexpr int MaxColumnWidth = 65535;
// Distinct fonts whose measurements are kept between font changes.
constexpr size_t MaxKeptFonts = 16;

constexpr int CentringFlag = CellFormat::Centred ^ CellFormat::LeftAligned;

// The text colour to use on background: the preferred one unless it reads
// below the contrast of text, then whichever of black and white reads best.
QColor ReadableOn(const QColor& background, const QColor& preferred) {
    constexpr double TextContrast = 4.5;
    if (ContrastRatio(preferred, background) >= TextContrast)
        return preferred;
    const QColor white(Qt::white), black(Qt::black);
    return ContrastRatio(white, background) > ContrastRatio(black, background) ? white : black;
}

[[noreturn]] void RaiseBadAddress(const char* member, qint32 column, qint32 row) {
    throw AppError(ErrorNumber::SubscriptOutOfRange, QStringLiteral("ctlGrid.") + member,
                   MessageCatalogue::Text(11603).arg(column).arg(row));
}

[[noreturn]] void RaiseBadArgument(const char* member, const QString& what) {
    throw AppError(ErrorNumber::InvalidArgument, QStringLiteral("ctlGrid.") + member,
                   MessageCatalogue::Text(11604).arg(what));
}

// What every cell has; the rest lives in planes kept only while some cell
// differs from the default, so that a long list costs little beyond its text.
struct Cell {
    QString text;
    int fontIndex = -1;         // into Impl::fonts; -1 until resolved and measured
    quint32 textWidth : 31 = 0; // measured with fontIndex
    quint32 centred : 1 = 1;    // of the format, only the centring shows
};
static_assert(sizeof(Cell) <= sizeof(QString) + 8);

// One value per cell, held only once some cell's differs from the default.
template <typename T> class CellPlane {
public:
    explicit CellPlane(T fallback) : fallback_(std::move(fallback)) {}

    const T& Get(size_t cell) const { return values_.empty() ? fallback_ : values_[cell]; }

    // Returns whether the value changed.
    bool Set(size_t cell, T value, size_t cells) {
        if (values_.empty()) {
            if (value == fallback_)
                return false;
            values_.assign(cells, fallback_);
        }
        if (values_[cell] == value)
            return false;
        values_[cell] = std::move(value);
        return true;
    }

    void Reset() { std::vector<T>().swap(values_); }

private:
    T fallback_;
    std::vector<T> values_; // empty: every cell holds the default
};

// One distinct font in use, with its measurements kept so that neither a
// layout nor a paint measures the same text twice.
struct FontEntry {
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
            if (code < 0x20 || code >= latinAdvances.size()) {
                auto found = shaped.constFind(text);
                if (found == shaped.cend())
                    found = shaped.insert(text, metrics.horizontalAdvance(text));
                return *found;
            }
            int& advance = latinAdvances[code];
            if (advance < 0)
                advance = metrics.horizontalAdvance(c);
            width += advance;
        }
        return width;
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

// The code a key gives to CellKeyPress: Enter 13, Space 32, a letter its
// capital, other characters their own code; 0 for keys that give none.
qint16 KeyCode(const QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return 13;
    if (key == Qt::Key_Escape)
        return 27;
    if (key == Qt::Key_Backspace)
        return 8;
    if (key == Qt::Key_Space || (key >= Qt::Key_A && key <= Qt::Key_Z))
        return static_cast<qint16>(key);
    const QChar first = event->text().isEmpty() ? QChar() : event->text().at(0).toUpper();
    if (first.isPrint() && first.unicode() <= std::numeric_limits<qint16>::max())
        return static_cast<qint16>(first.unicode());
    if (key > 0x20 && key <= 0xFF)
        return static_cast<qint16>(key);
    return 0;
}

} // namespace

struct ctlGrid::Impl {
    // Row 0 is always stored, so HeaderColumns may change at any time.
    int columns = 0;
    int rows = 0;
    std::vector<Cell> cells;
    CellPlane<QString> data{QString()};
    CellPlane<FontRef> cellFonts{FontRef()};
    CellPlane<qint32> backColors{-1};
    std::vector<int> manualWidths; // -1: the column fits its text

    bool headerColumns = false;
    bool gridLines = true;

    QPoint current;             // (column, row); row 0: none
    bool revealPending = false; // selected while painting was off

    // Layout, recomputed only when something it depends on changed.
    bool layoutDirty = true;
    bool fontsStale = true;
    std::vector<FontEntry> fonts;
    int gridFontIndex = 0;
    std::vector<int> columnLeft = {0}; // columns + 1 edges
    int rowHeight = 0;
    int headerHeight = 0; // 0 without a header row

    QPixmap picture;
    QPixmap scaledPicture;

    bool Contains(qint32 column, qint32 row) const {
        return column >= 1 && column <= columns && row >= (headerColumns ? 0 : 1) && row <= rows;
    }

    size_t IndexOf(int column, int row) const {
        return static_cast<size_t>(row) * columns + (column - 1);
    }

    Cell& CellAt(int column, int row) { return cells[IndexOf(column, row)]; }

    // The checked index of a cell; a wrong address raises AppError 9 from member.
    size_t Checked(const char* member, qint32 column, qint32 row) const {
        if (!Contains(column, row))
            RaiseBadAddress(member, column, row);
        return IndexOf(column, row);
    }

    Cell& At(const char* member, qint32 column, qint32 row) {
        return cells[Checked(member, column, row)];
    }

    int FontIndexFor(const FontObject& object) {
        for (size_t i = 0; i < fonts.size(); ++i)
            if (fonts[i].source == object)
                return static_cast<int>(i);
        fonts.emplace_back(object);
        return static_cast<int>(fonts.size() - 1);
    }

    // Measures again if something the layout depends on changed; true if it did.
    bool EnsureLayout(const FontObject& gridFont);

    int GridWidth() const { return columnLeft.back(); }
    // A grid without columns has no cells, whatever its number of rows.
    int BodyHeight() const { return columns > 0 ? rows * rowHeight : 0; }
    int ColumnWidth(int column) const { return columnLeft[column] - columnLeft[column - 1]; }

    QRect Box(int column, int row, int scrollX, int scrollY) const {
        const int top = row == 0 ? 0 : headerHeight + (row - 1) * rowHeight - scrollY;
        return QRect(columnLeft[column - 1] - scrollX, top, ColumnWidth(column),
                     row == 0 ? headerHeight : rowHeight);
    }

    // The column at x in grid coordinates: 0 left of the grid, columns + 1 right of it.
    int ColumnAt(int x) const {
        return int(std::upper_bound(columnLeft.begin(), columnLeft.end(), x) - columnLeft.begin());
    }
};

bool ctlGrid::Impl::EnsureLayout(const FontObject& gridFont) {
    if (!layoutDirty)
        return false;
    // Measurements are kept per font value, so they stay good across
    // rebuilds; only a long run of font changes starts them afresh.
    const bool forget = fontsStale && fonts.size() > MaxKeptFonts;
    if (forget)
        fonts.clear();
    if (fontsStale)
        gridFontIndex = FontIndexFor(gridFont);
    for (size_t i = 0; i < cells.size(); ++i) {
        Cell& cell = cells[i];
        if (!fontsStale && cell.fontIndex >= 0)
            continue;
        const FontRef& own = cellFonts.Get(i);
        const int index = own ? FontIndexFor(*own) : gridFontIndex;
        if (forget || std::exchange(cell.fontIndex, index) != index)
            cell.textWidth = std::max(0, fonts[index].Width(cell.text));
    }
    fontsStale = false;

    // A row is as tall as its tallest font, and never shorter than the grid's.
    auto heightOf = [&](size_t first, size_t end) {
        int line = fonts[gridFontIndex].lineHeight;
        for (size_t i = first; i < end; ++i)
            line = std::max(line, fonts[cells[i].fontIndex].lineHeight);
        return line + VerticalPadding;
    };
    rowHeight = heightOf(static_cast<size_t>(columns), cells.size());
    headerHeight = headerColumns ? heightOf(0, static_cast<size_t>(columns)) : 0;

    columnLeft.assign(static_cast<size_t>(columns) + 1, 0);
    for (int column = 1; column <= columns; ++column) {
        int fitted = rowHeight; // never narrower than a row is tall
        for (int row = headerColumns ? 0 : 1; row <= rows; ++row)
            fitted = std::max(fitted, CellAt(column, row).textWidth + HorizontalPadding);
        const int manual = manualWidths[column - 1];
        columnLeft[column] =
            columnLeft[column - 1] + (manual >= 0 ? manual : std::min(MaxColumnWidth, fitted));
    }
    layoutDirty = false;
    return true;
}

ctlGrid::ctlGrid(QWidget* parent) : QAbstractScrollArea(parent), d_(std::make_unique<Impl>()) {
    SetFont(nullptr);
    setFocusPolicy(Qt::StrongFocus);
    // Every pixel of a paint is drawn here, so Qt need not clear it first.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    FollowPalette();
    ctlGridAccessible::Install();
}

ctlGrid::~ctlGrid() = default;

void ctlGrid::SetRedraw(bool redraw) {
    redraw_ = redraw;
    LayoutChanged();
    if (redraw && std::exchange(d_->revealPending, false) && d_->current.y() > 0)
        RevealCell(d_->current.x(), d_->current.y());
    ctlGridAccessible::CurrentCellChanged(this); // silent while painting is off
}

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
    d_->cells.shrink_to_fit();
    d_->data.Reset();
    d_->cellFonts.Reset();
    d_->backColors.Reset();
    d_->manualWidths.assign(static_cast<size_t>(columns), -1);
    d_->current = QPoint();
    d_->layoutDirty = true;
    RepaintAll();
    ctlGridAccessible::Rebuilt(this);
}

void ctlGrid::CellDetails(qint32 column, qint32 row, const QString& text, qint32 format,
                          const QString& data) {
    const size_t index = d_->Checked("CellDetails", column, row);
    Cell& cell = d_->cells[index];
    cell.centred = (format & CentringFlag) != 0;
    d_->data.Set(index, data, d_->cells.size());
    if (cell.text != text) {
        cell.text = text;
        cell.fontIndex = -1;
        d_->layoutDirty = true;
    }
    CellChanged(column, row);
}

QString ctlGrid::CellText(qint32 column, qint32 row) const {
    return d_->At("CellText", column, row).text;
}

void ctlGrid::SetCellText(qint32 column, qint32 row, const QString& text) {
    const size_t index = d_->Checked("CellText", column, row);
    const Cell& cell = d_->cells[index];
    if (cell.text != text)
        CellDetails(column, row, text, cell.centred ? CellFormat::Centred : CellFormat::LeftAligned,
                    d_->data.Get(index));
}

qint32 ctlGrid::CellBackColor(qint32 column, qint32 row) const {
    return d_->backColors.Get(d_->Checked("CellBackColor", column, row));
}

void ctlGrid::SetCellBackColor(qint32 column, qint32 row, qint32 colour) {
    const size_t index = d_->Checked("CellBackColor", column, row);
    if (!d_->backColors.Set(index, colour, d_->cells.size()))
        return;
    CellChanged(column, row);
    ctlGridAccessible::CellStateChanged(this, column, row);
}

FontRef ctlGrid::CellFont(qint32 column, qint32 row) const {
    return d_->cellFonts.Get(d_->Checked("CellFont", column, row));
}

void ctlGrid::SetCellFont(qint32 column, qint32 row, FontRef font) {
    const size_t index = d_->Checked("CellFont", column, row);
    d_->cellFonts.Set(index, std::move(font), d_->cells.size());
    d_->cells[index].fontIndex = -1;
    d_->layoutDirty = true;
    CellChanged(column, row);
    ctlGridAccessible::CellStateChanged(this, column, row);
}

QString ctlGrid::CellData(qint32 column, qint32 row) const {
    return d_->data.Get(d_->Checked("CellData", column, row));
}

bool ctlGrid::CellActive(qint32 column, qint32 row) const {
    d_->Checked("CellActive", column, row);
    return row >= 1;
}

qint32 ctlGrid::GetRowSelected() const {
    return d_->current.y();
}

qint32 ctlGrid::GetColumnSelected() const {
    return d_->current.x();
}

qint32 ctlGrid::GetRowCount() const {
    return d_->rows;
}

qint32 ctlGrid::GetColumnCount() const {
    return d_->columns;
}

void ctlGrid::SetColour(ColourRole role, qint32 colour) {
    colours_[role] = {colour, true};
    RepaintAll();
}

// The system colours of window background, active border, window text and
// highlight, read anew when the desktop's palette changes.
void ctlGrid::FollowPalette() {
    const WindowServices windows;
    constexpr std::array<int, ColourRoles> systemColours = {5, 10, 8, 13};
    for (int role = 0; role < ColourRoles; ++role)
        if (!colours_[role].own)
            colours_[role].value = windows.GetSystemColor(systemColours[role]);
    RepaintAll();
}

void ctlGrid::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        FollowPalette();
}

// A file that cannot be read leaves the grid without a picture. Only a
// regular file is read: a pipe or a device named by a hand-edited setting
// could keep the program waiting for ever.
void ctlGrid::SetPictureFile(const QString& path) {
    pictureFile_ = path;
    d_->picture = QFileInfo(path).isFile() ? QPixmap(path) : QPixmap();
    d_->scaledPicture = QPixmap();
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
    const int height = d_->columns > 0 ? d_->headerHeight + d_->BodyHeight() : 0;
    return height + (withBorder ? 2 * frameWidth() : 0);
}

qint32 ctlGrid::GethWnd() {
    return WindowHandle::Of(this);
}

void ctlGrid::CellChanged(qint32 column, qint32 row) {
    if (!redraw_)
        return;
    if (d_->layoutDirty) {
        const auto before = std::tuple(d_->columnLeft, d_->rowHeight, d_->headerHeight);
        d_->EnsureLayout(*font_);
        if (before != std::tie(d_->columnLeft, d_->rowHeight, d_->headerHeight)) {
            LayoutChanged();
            return;
        }
    }
    viewport()->update(CellRect(column, row));
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
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    bool vertical = false, horizontal = false;
    for (int pass = 0; pass < 2; ++pass) {
        vertical = d_->headerHeight + d_->BodyHeight() > inside.height() - (horizontal ? bar : 0);
        horizontal = d_->GridWidth() > inside.width() - (vertical ? bar : 0);
    }
    // The bars clamp a range that ends below its start.
    const int width = std::max(0, inside.width() - (vertical ? bar : 0));
    const int bodyRoom = std::max(0, inside.height() - (horizontal ? bar : 0) - d_->headerHeight);
    horizontalScrollBar()->setRange(0, d_->GridWidth() - width);
    horizontalScrollBar()->setPageStep(std::max(1, width));
    horizontalScrollBar()->setSingleStep(d_->rowHeight);
    verticalScrollBar()->setRange(0, d_->BodyHeight() - bodyRoom);
    verticalScrollBar()->setPageStep(std::max(1, bodyRoom));
    verticalScrollBar()->setSingleStep(d_->rowHeight);
}

void ctlGrid::Select(const char* member, qint32 column, qint32 row) {
    d_->At(member, column, row);
    if (row < 1)
        return;
    const QPoint old = std::exchange(d_->current, QPoint(column, row));
    d_->revealPending = !redraw_;
    if (!redraw_)
        return;
    if (d_->EnsureLayout(*font_))
        UpdateScrollBars();
    RevealCell(column, row);
    if (d_->Contains(old.x(), old.y()))
        viewport()->update(CellRect(old.x(), old.y()));
    viewport()->update(CellRect(column, row));
    ctlGridAccessible::CurrentCellChanged(this);
}

// Scrolls as little as needed; a cell larger than the room shows its start.
void ctlGrid::RevealCell(qint32 column, qint32 row) {
    auto reveal = [](QScrollBar* bar, int first, int end, int room) {
        bar->setValue(std::min(first, std::max(bar->value(), end - room)));
    };
    const int top = (row - 1) * d_->rowHeight;
    reveal(horizontalScrollBar(), d_->columnLeft[column - 1], d_->columnLeft[column],
           viewport()->width());
    reveal(verticalScrollBar(), top, top + d_->rowHeight,
           std::max(0, viewport()->height() - d_->headerHeight));
}

bool ctlGrid::MoveByKey(const QKeyEvent* event) {
    const int key = event->key();
    int column = d_->current.x();
    int row = d_->current.y();
    const int page = d_->rowHeight > 0
                         ? std::max(1, (viewport()->height() - d_->headerHeight) / d_->rowHeight)
                         : 1;
    if (key == Qt::Key_Left || key == Qt::Key_Right) {
        column += key == Qt::Key_Right ? 1 : -1;
    } else if (key == Qt::Key_Up || key == Qt::Key_Down) {
        row += key == Qt::Key_Down ? 1 : -1;
    } else if (key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
        row += key == Qt::Key_PageDown ? page : -page;
    } else if (key == Qt::Key_Home || key == Qt::Key_End) {
        // Home and End go to the row's ends first, then to the column's: a
        // one-column list still reaches its first and last rows.
        const QPoint end = key == Qt::Key_Home ? QPoint(1, 1) : QPoint(d_->columns, d_->rows);
        if ((event->modifiers() & Qt::ControlModifier) || column == end.x())
            row = end.y();
        column = end.x();
    } else {
        return false;
    }
    if (d_->columns < 1 || d_->rows < 1)
        return true;
    // Without a current cell, any move starts at the first.
    const bool none = d_->current.y() < 1;
    column = none ? 1 : std::clamp(column, 1, d_->columns);
    row = none ? 1 : std::clamp(row, 1, d_->rows);
    if (QPoint(column, row) != d_->current)
        Select("SelectCell", column, row);
    return true;
}

void ctlGrid::keyPressEvent(QKeyEvent* event) {
    const auto commandKeys = Qt::AltModifier | Qt::MetaModifier;
    const bool moved = !(event->modifiers() & commandKeys) && MoveByKey(event);
    const bool plain = !(event->modifiers() & (commandKeys | Qt::ControlModifier));
    qint16 code = plain && !moved ? KeyCode(event) : 0;
    // Enter (13) and Esc (27) go on to the window after the cell has seen
    // them, so that a dialog's default and cancel buttons still answer them.
    event->setAccepted(moved || (code != 0 && code != 13 && code != 27));
    if (code != 0 && d_->current.y() > 0)
        emit CellKeyPress(d_->current.x(), d_->current.y(), code);
}

void ctlGrid::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    const QPoint cell = CellUnder(event->position().toPoint());
    if (cell.isNull())
        return;
    event->accept();
    Select("SelectCell", cell.x(), cell.y());
    emit CellClick(cell.x(), cell.y());
}

void ctlGrid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

// The header row stays in place, so a scroll repaints rather than moves.
void ctlGrid::scrollContentsBy(int, int) {
    RepaintAll();
}

// Reached by the keyboard, a grid with no current cell makes its first one
// current, so the player sees where the next key goes.
void ctlGrid::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    const Qt::FocusReason reason = event->reason();
    const bool byKeyboard = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                            reason == Qt::ShortcutFocusReason;
    if (byKeyboard && d_->current.y() < 1 && d_->columns > 0 && d_->rows > 0)
        Select("SelectCell", 1, 1);
    else if (redraw_ && d_->Contains(d_->current.x(), d_->current.y()))
        viewport()->update(CellRect(d_->current.x(), d_->current.y()));
    ctlGridAccessible::FocusEntered(this);
}

void ctlGrid::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    if (redraw_ && d_->Contains(d_->current.x(), d_->current.y()))
        viewport()->update(CellRect(d_->current.x(), d_->current.y()));
}

// What one paint pass shares between its cells: the painter, the colours
// and the scroll position.
struct ctlGrid::PaintPass {
    PaintPass(ctlGrid& grid, const QRect& dirty)
        : painter(grid.viewport()), area(dirty), scrollX(grid.horizontalScrollBar()->value()),
          scrollY(grid.verticalScrollBar()->value()),
          lineColour(ColourFromWindows(grid.LineColor())),
          textColour(ColourFromWindows(grid.TextColor())),
          activeColour(ColourFromWindows(grid.ActiveCellColor())),
          activeInk(ReadableOn(activeColour, textColour)),
          headerColour(grid.palette().color(QPalette::Button)),
          headerInk(ReadableOn(headerColour, textColour)), focused(grid.hasFocus()) {}

    QPainter painter;
    const QRect area;
    const int scrollX;
    const int scrollY;
    const QColor lineColour;
    const QColor textColour;
    const QColor activeColour;
    const QColor activeInk;
    const QColor headerColour;
    const QColor headerInk;
    // Without the focus the current cell is only framed: the keys go elsewhere.
    const bool focused;
    // Most cells share font and colour: set them on the painter only on a change.
    int painterFont = -1;
    QColor painterInk;
};

void ctlGrid::paintEvent(QPaintEvent* event) {
    if (!redraw_)
        return;
    if (d_->layoutDirty)
        LayoutChanged();
    Impl& d = *d_;
    PaintPass pass(*this, event->rect());
    pass.painter.fillRect(pass.area, ColourFromWindows(BackColor()));

    const QRect body = viewport()->rect().adjusted(0, d.headerHeight, 0, 0);
    const QRect grid(-pass.scrollX, d.headerHeight - pass.scrollY, d.GridWidth(), d.BodyHeight());
    const QRect shown = grid & body & pass.area;
    if (!d.picture.isNull() && !shown.isEmpty())
        PaintPicture(pass.painter, grid, shown);
    PaintBand(pass, std::max(1, (pass.area.top() - grid.top()) / d.rowHeight + 1),
              std::min(d.rows, (pass.area.bottom() - grid.top()) / d.rowHeight + 1), body);
    if (d.headerColumns)
        PaintBand(pass, 0, 0, QRect(0, 0, viewport()->width(), d.headerHeight));
}

// Rows first..last of one band, clipped to band (viewport coordinates).
void ctlGrid::PaintBand(PaintPass& pass, int firstRow, int lastRow, const QRect& band) {
    const Impl& d = *d_;
    const int scrollX = pass.scrollX;
    const int scrollY = pass.scrollY;
    const QRect dirty = band & pass.area;
    const int firstColumn = std::max(1, d.ColumnAt(dirty.left() + scrollX));
    const int lastColumn = std::min(d.columns, d.ColumnAt(dirty.right() + scrollX));
    if (dirty.isEmpty() || firstRow > lastRow || firstColumn > lastColumn)
        return;
    QPainter& painter = pass.painter;
    painter.setClipRect(dirty);
    for (int row = firstRow; row <= lastRow; ++row)
        for (int column = firstColumn; column <= lastColumn; ++column)
            PaintCell(pass, column, row, d.Box(column, row, scrollX, scrollY));
    if (d.gridLines) {
        const QRect span(d.Box(firstColumn, firstRow, scrollX, scrollY).topLeft(),
                         d.Box(lastColumn, lastRow, scrollX, scrollY).bottomRight());
        for (int column = firstColumn; column <= lastColumn; ++column)
            painter.fillRect(d.columnLeft[column] - 1 - scrollX, span.top(), 1, span.height(),
                             pass.lineColour);
        for (int row = firstRow; row <= lastRow; ++row)
            painter.fillRect(span.left(), d.Box(firstColumn, row, scrollX, scrollY).bottom(),
                             span.width(), 1, pass.lineColour);
    }
}

void ctlGrid::PaintCell(PaintPass& pass, int column, int row, const QRect& box) {
    Impl& d = *d_;
    QPainter& painter = pass.painter;
    const size_t index = d.IndexOf(column, row);
    const Cell& cell = d.cells[index];
    const qint32 backColor = d.backColors.Get(index);
    const QRect inner = d.gridLines ? box.adjusted(0, 0, -1, -1) : box;
    const bool current = column == d.current.x() && row == d.current.y();
    const bool coloured = backColor != -1;
    const bool filled = current && pass.focused && !coloured;
    if (coloured)
        painter.fillRect(inner, ColourFromWindows(backColor));
    else if (filled || row == 0)
        painter.fillRect(inner, filled ? pass.activeColour : pass.headerColour);
    if (!cell.text.isEmpty()) {
        FontEntry& font = d.fonts[cell.fontIndex];
        if (cell.fontIndex != pass.painterFont) {
            painter.setFont(font.font);
            pass.painterFont = cell.fontIndex;
        }
        const QColor ink = filled ? pass.activeInk : row == 0 ? pass.headerInk : pass.textColour;
        if (ink != pass.painterInk) {
            painter.setPen(ink);
            pass.painterInk = ink;
        }
        const int room = inner.width() - HorizontalPadding;
        const bool centred = cell.centred;
        const int textWidth = int(cell.textWidth);
        if (textWidth > room) {
            painter.drawText(inner.adjusted(HorizontalPadding / 2, VerticalPadding / 2,
                                            -HorizontalPadding / 2, -VerticalPadding / 2),
                             Qt::TextSingleLine | Qt::AlignVCenter |
                                 (centred ? Qt::AlignHCenter : Qt::AlignLeft),
                             font.metrics.elidedText(cell.text, Qt::ElideRight, std::max(0, room)));
        } else {
            const int x = centred ? inner.left() + (inner.width() - textWidth) / 2
                                  : inner.left() + HorizontalPadding / 2;
            const int y = inner.top() + (inner.height() - font.lineHeight) / 2;
            // Static text draws no underline or strike-through.
            if (font.font.underline() || font.font.strikeOut())
                painter.drawText(QRect(x, y, textWidth, font.lineHeight),
                                 Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, cell.text);
            else
                painter.drawStaticText(x, y, font.Prepared(cell.text));
        }
    }
    // A current cell keeps its own colour in sight inside a frame of the active colour.
    if (current && !filled && inner.width() > 0)
        qDrawPlainRect(&painter, inner, pass.activeColour,
                       std::min(CurrentFrameWidth, std::max(1, inner.width() / 4)));
}

// The picture is stretched over the whole grid. A copy of it at the grid's
// size is kept for painting, but never one larger than the screen: a grid
// larger than that is painted from the picture itself, part by part.
void ctlGrid::PaintPicture(QPainter& painter, const QRect& grid, const QRect& shown) {
    Impl& d = *d_;
    const QSize screen = this->screen() ? this->screen()->size() : QSize(4096, 4096);
    if (grid.width() <= screen.width() && grid.height() <= screen.height()) {
        if (d.scaledPicture.size() != grid.size())
            d.scaledPicture =
                d.picture.scaled(grid.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        painter.drawPixmap(shown, d.scaledPicture, shown.translated(-grid.topLeft()));
        return;
    }
    d.scaledPicture = QPixmap();
    const QRect part = shown.translated(-grid.topLeft());
    const double x = double(d.picture.width()) / grid.width();
    const double y = double(d.picture.height()) / grid.height();
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(QRectF(shown), d.picture,
                       QRectF(part.x() * x, part.y() * y, part.width() * x, part.height() * y));
    painter.restore();
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

QPoint ctlGrid::CellUnder(const QPoint& at) const {
    d_->EnsureLayout(*font_);
    const int column = d_->ColumnAt(at.x() + horizontalScrollBar()->value());
    const int y = at.y() - d_->headerHeight + verticalScrollBar()->value();
    const int row = at.y() < d_->headerHeight ? 0 : y / d_->rowHeight + 1;
    return d_->Contains(column, row) ? QPoint(column, row) : QPoint();
}
