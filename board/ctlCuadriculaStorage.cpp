// What the board reads and writes: puzzles from the data file, the player's
// marks, and the appearance settings.
#include "board/ctlCuadricula.h"

#include "outside/AppServices.h"
#include "outside/Conversions.h"
#include "outside/DamagedValue.h"
#include "outside/IniFileReader.h"
#include "outside/ProductInfo.h"
#include "outside/RegistryStore.h"
#include "outside/WindowServices.h"
#include "outside/ctlGrid.h"

#include <QDir>
#include <QSet>
#include <limits>
#include <optional>

namespace {
constexpr int MaxCells = 999;        // a cell list names cells with three digits
constexpr qsizetype MaxWords = 99;   // crossed-out words are saved with two digits
constexpr double MaxFontSize = 72.0; // the largest size a font picker lists

qint32 Dimension(const IniFileReader& reader, const QString& section, const char* key,
                 const QString& file) {
    const QString text = reader.GetValue(section, QLatin1String(key), file, 0);
    try {
        return Conversions::ToInteger32(text, QStringLiteral("ctlCuadricula.LoadPuzzle"));
    } catch (const AppError& error) {
        throw AppError(
            error.Number(), error.Source(),
            AppServices().GetMessage(11614).arg(section, file, QLatin1String(key), text.left(40)));
    }
}

// A puzzle must have at least one cell, and no cell a cell list cannot name.
void CheckDimensions(qint32 columns, qint32 rows, const QString& section, const QString& file) {
    const qint64 cells = static_cast<qint64>(columns) * rows;
    if (columns < 1 || rows < 1 || cells > MaxCells)
        throw AppError(ErrorNumber::InvalidArgument, QStringLiteral("ctlCuadricula.LoadPuzzle"),
                       AppServices()
                           .GetMessage(11615)
                           .arg(section, file)
                           .arg(columns)
                           .arg(rows)
                           .arg(MaxCells));
}

// Each cell shows one UTF-16 unit: composed letters fit, but a letter that
// stays longer (an emoji, a base with an accent that has no composed form)
// would take two cells and shift the grid.
void CheckLetters(const QString& letters, const QString& section, const QString& file) {
    for (qsizetype at = 0; at < letters.size(); ++at) {
        const QChar letter = letters[at];
        const bool joinsNext =
            at + 1 < letters.size() && (letters[at + 1].isMark() || letter.isHighSurrogate());
        if (!letter.isSurrogate() && !letter.isMark() && !joinsNext)
            continue;
        const qsizetype start = joinsNext || at == 0 ? at : at - 1;
        throw AppError(ErrorNumber::InvalidArgument, QStringLiteral("ctlCuadricula.LoadPuzzle"),
                       AppServices()
                           .GetMessage(11530)
                           .arg(section, QDir::toNativeSeparators(file), letters.mid(start, 2))
                           .arg(start + 1));
    }
}

// Crossed-out words past the 99th could not be kept: such a puzzle is
// refused whole, as one of more cells than a cell list can name.
void CheckWordCount(const QString& words, const QString& section, const QString& file) {
    const qsizetype count = words.isEmpty() ? 0 : words.count(QLatin1Char(' ')) + 1;
    if (count > MaxWords)
        throw AppError(ErrorNumber::InvalidArgument, QStringLiteral("ctlCuadricula.LoadPuzzle"),
                       AppServices()
                           .GetMessage(11616)
                           .arg(section, QDir::toNativeSeparators(file))
                           .arg(count)
                           .arg(MaxWords));
}

qint32 Colour(const QString& text) {
    return Conversions::ToInteger32(Conversions::NumericValue(text),
                                    QStringLiteral("ctlCuadricula.LoadConfiguration"));
}

// A stored appearance value that does not convert is told once a run, not
// at every puzzle the player opens.
bool FirstReportOf(const QString& name, const QString& text) {
    static QSet<QString> reported;
    const QString both = name + QLatin1Char('=') + text;
    if (reported.contains(both))
        return false;
    reported.insert(both);
    return true;
}

// The font size as its fixed-point text: 18, 8.25, 13.5.
QString SizeText(const FontObject& font) {
    QString text = QString::number(font.Size(), 'f', 4);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}
} // namespace

QString ctlCuadricula::DataFilePath() const {
    return appServices_->AddPathSeparator(appServices_->ProgramFolder()) +
           productInfo_->GetDataFileName(2);
}

void ctlCuadricula::LoadPuzzle() {
    const QString file = DataFilePath();
    const QString section = QString::number(NumeroJuego_);
    const IniFileReader& reader = *dataFile_;
    Puzzle puzzle;
    puzzle.columns = Dimension(reader, section, "CantAncho", file);
    puzzle.rows = Dimension(reader, section, "CantAlto", file);
    CheckDimensions(puzzle.columns, puzzle.rows, section, file);
    puzzle.title = reader.GetValue(section, QStringLiteral("Titulo"), file, 0);
    puzzle.letters = reader.GetValue(section, QStringLiteral("Letras"), file, 1000)
                         .normalized(QString::NormalizationForm_C);
    CheckLetters(puzzle.letters, section, file);
    puzzle.words = reader.GetValue(section, QStringLiteral("Palabras"), file, 1000);
    CheckWordCount(puzzle.words, section, file);
    puzzle.solution = reader.GetValue(section, QStringLiteral("Solucion"), file, 1000);
    TakePuzzle(puzzle);
}

void ctlCuadricula::TakePuzzle(const Puzzle& puzzle) {
    Columns_ = puzzle.columns;
    Rows_ = puzzle.rows;
    Titulo_ = puzzle.title;
    Letras_ = puzzle.letters;
    Palabras_ = puzzle.words;
    Solucion_ = puzzle.solution;
}

void ctlCuadricula::Save() {
    ReraiseAs("ctlCuadricula.Save", [&] {
        if (NumeroJuego_ == 0)
            return;
        RegistryStore().WriteValue(RegistryStore::CurrentUser,
                                   productInfo_->GetRegistryKey(2, NumeroJuego_),
                                   QStringLiteral("Save"), MarkedCellList(), RegistryStore::Text);
    });
}

QString ctlCuadricula::MarkedCellList() const {
    const qint64 cells = static_cast<qint64>(Columns_) * Rows_;
    if (cells > std::numeric_limits<qint32>::max())
        throw AppError(ErrorNumber::Overflow, QStringLiteral("ctlCuadricula.Save"),
                       appServices_->GetMessage(11601));
    QString marks;
    for (qint32 index = 1; index <= cells; ++index) {
        qint32 cellIndex = index, column = 0, row = 0;
        ConvertCellIndex(cellIndex, column, row);
        if (grid_->CellBackColor(column, row) != -1)
            marks += Conversions::FormatDigits(index, 3);
    }
    return marks;
}

// Marks the cells of the saved progress, or of the solution. An entry that
// names no cell (000, or past the last cell) marks nothing. Entries that are
// no number are skipped, the others still marked; the first of them is then
// raised, after a damaged saved value has been kept aside for the player.
// Saved marks past the last cell were made on another puzzle under this
// number: they too are kept aside, since the next save writes only the
// cells this puzzle has.
void ctlCuadricula::Load(bool ReadFromRegistry) {
    ReraiseAs("ctlCuadricula.Load", [&] {
        const QString key = productInfo_->GetRegistryKey(2, NumeroJuego_);
        const QString marks = ReadFromRegistry ? RegistryStore()
                                                     .ReadValue(RegistryStore::CurrentUser, key,
                                                                QStringLiteral("Save"))
                                                     .toString()
                                               : Solucion_;
        bool pastTheGrid = false;
        const std::optional<AppError> unread = MarkCellList(marks, &pastTheGrid);
        if (!ReadFromRegistry) {
            if (unread)
                throw *unread;
            return;
        }
        if (unread || pastTheGrid)
            DamagedValue::KeepAside(key, QStringLiteral("Save"), marks);
        marksKeptAside_ = pastTheGrid && !unread;
        if (!unread)
            return;
        damagedMarks_ = true;
        throw AppError(unread->Number(), unread->Source(),
                       appServices_->GetMessage(11540).arg(NumeroJuego_).arg(marks.left(40)));
    });
}

std::optional<AppError> ctlCuadricula::MarkCellList(const QString& marks, bool* pastTheGrid) {
    std::optional<AppError> unread;
    for (qsizetype at = 0; at < marks.size(); at += 3) {
        qint32 index = 0;
        try {
            index =
                Conversions::ToInteger16(marks.mid(at, 3), QStringLiteral("ctlCuadricula.Load"));
        } catch (const AppError& error) {
            if (!unread)
                unread = error;
            continue;
        }
        qint32 column = 0, row = 0;
        if (index == 0)
            continue;
        ConvertCellIndex(index, column, row);
        if (column != 0)
            grid_->SetCellBackColor(column, row, markedColour_);
        else if (pastTheGrid && index > 0)
            *pastTheGrid = true;
    }
    return unread;
}

// A value the store has never held leaves the member as it is, so a new
// player starts with the system's colours and the board's own font; any
// stored text, the empty one included, is converted.
void ctlCuadricula::LoadConfiguration() {
    ReraiseAs("ctlCuadricula.LoadConfiguration", [&] {
        ReadColour("ColorFondo", backColour_, 5);
        ReadColour("ColorSel", markedColour_, 15);
        // -1 would mean "not marked": no mark could be seen or made.
        if (markedColour_ == -1)
            markedColour_ = windowServices_->GetSystemColor(15);
        ReadColour("ColorCelAct", activeColour_, 13);
        ReadColour("ColorLineas", lineColour_, 10);
        ReadColour("FontColor", textColour_, 8);
        if (const auto text = StoredSetting("ImageFile"))
            pictureFile_ = *text;
        if (const auto text = StoredSetting("FontBold"))
            font_->SetBold(Conversions::NumericValue(*text) != 0);
        if (const auto text = StoredSetting("FontItalic"))
            font_->SetItalic(Conversions::NumericValue(*text) != 0);
        const double size = StoredFontSize();
        const QString name = StoredSetting("FontName").value_or(QString());
        if (size > 0)
            font_->SetSize(size);
        if (!name.isEmpty())
            font_->SetName(name);
    });
}

// The stored size, 0 when none is. A size far past what the settings dialog
// offers would make the letters, and a background picture stretched behind
// them, cost gigabytes: like a colour that does not convert, the player
// hears of it once and the board's own size stands in.
double ctlCuadricula::StoredFontSize() const {
    const std::optional<QString> text = StoredSetting("FontSize");
    if (!text)
        return 0;
    const double size =
        Conversions::RoundHalfEven(Conversions::NumericValue(*text) * 10000) / 10000;
    if (size <= MaxFontSize)
        return size;
    if (FirstReportOf(QStringLiteral("FontSize"), *text))
        appServices_->ReportError(AppError(
            ErrorNumber::InvalidArgument, QStringLiteral("ctlCuadricula.LoadConfiguration"),
            appServices_->GetMessage(11521).arg(text->left(40)).arg(MaxFontSize)));
    return FontObject::FromQFont(font()).Size();
}

// An appearance value as stored, or nothing when it never was.
std::optional<QString> ctlCuadricula::StoredSetting(const char* name) const {
    const QVariant value = RegistryStore().ReadValue(
        RegistryStore::CurrentUser, productInfo_->GetRegistryKey(2, 0), QLatin1String(name));
    if (!value.isValid())
        return std::nullopt;
    return value.toString();
}

// A colour that does not convert (out of range, as an unsigned export
// writes it) costs that colour only: the player hears once which value and
// text, the default stands in, and the settings dialog can put it right.
void ctlCuadricula::ReadColour(const char* name, qint32& member, int systemColour) {
    const std::optional<QString> stored = StoredSetting(name);
    if (!stored)
        return;
    const QString text = *stored;
    try {
        member = Colour(text);
    } catch (const AppError& error) {
        member = windowServices_->GetSystemColor(systemColour);
        if (FirstReportOf(QLatin1String(name), text))
            appServices_->ReportError(
                AppError(error.Number(), QStringLiteral("ctlCuadricula.LoadConfiguration"),
                         appServices_->GetMessage(11520).arg(QLatin1String(name), text.left(40))));
    }
}

void ctlCuadricula::SaveConfiguration() {
    ReraiseAs("ctlCuadricula.SaveConfiguration", [&] {
        const QString key = productInfo_->GetRegistryKey(2, 0);
        RegistryStore store;
        RegistryStore::Batch together; // one write of the file for all ten
        const auto write = [&](const char* name, const QVariant& value) {
            store.WriteValue(RegistryStore::CurrentUser, key, QLatin1String(name), value,
                             RegistryStore::Text);
        };
        write("ColorFondo", backColour_);
        write("ColorSel", markedColour_);
        write("ColorCelAct", activeColour_);
        write("ColorLineas", lineColour_);
        write("FontColor", textColour_);
        write("ImageFile", pictureFile_);
        write("FontBold", font_->Bold() ? -1 : 0);
        write("FontItalic", font_->Italic() ? -1 : 0);
        write("FontSize", SizeText(*font_));
        write("FontName", font_->Name());
        together.Commit();
    });
}
