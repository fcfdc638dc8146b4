// What the board reads and writes: puzzles from the data file, the player's
// marks, and the appearance settings.
#include "board/ctlCuadricula.h"

#include "core/AppearanceDefaults.h"
#include "core/DigitList.h"
#include "core/PuzzleFile.h"
#include "core/PuzzleLimits.h"
#include "outside/AppServices.h"
#include "outside/Conversions.h"
#include "outside/DamagedValue.h"
#include "outside/IniFileReader.h"
#include "outside/ProductInfo.h"
#include "outside/RegistryStore.h"
#include "outside/WindowServices.h"
#include "outside/ctlGrid.h"

#include <QSet>
#include <limits>
#include <optional>

namespace {
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
    TakePuzzle(PuzzleFile(*dataFile_, DataFilePath())
                   .Read(NumeroJuego_, QStringLiteral("ctlCuadricula.LoadPuzzle")));
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
    QList<qint32> marked;
    for (qint32 index = 1; index <= cells; ++index) {
        qint32 cellIndex = index, column = 0, row = 0;
        ConvertCellIndex(cellIndex, column, row);
        if (grid_->CellBackColor(column, row) != -1)
            marked << index;
    }
    return DigitList::Cells.Write(marked);
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
    const qint64 cells = Columns_ > 0 && Rows_ > 0 ? qint64{Columns_} * Rows_ : 0;
    const DigitList::Reading reading =
        DigitList::Cells.Read(marks, qint32(qMin<qint64>(cells, INT32_MAX)));
    for (qint32 index : reading.named) {
        qint32 column = 0, row = 0;
        ConvertCellIndex(index, column, row);
        grid_->SetCellBackColor(column, row, markedColour_);
    }
    if (pastTheGrid && reading.pastTheEnd)
        *pastTheGrid = true;
    return reading.unread;
}

// A value the store has never held leaves the member as it is, so a new
// player starts with the system's colours and the board's own font; any
// stored text, the empty one included, is converted.
void ctlCuadricula::LoadConfiguration() {
    ReraiseAs("ctlCuadricula.LoadConfiguration", [&] {
        ReadColour("ColorFondo", backColour_, AppearanceDefaults::BackgroundColour);
        ReadColour("ColorSel", markedColour_, AppearanceDefaults::MarkedColour);
        // -1 would mean "not marked": no mark could be seen or made.
        if (markedColour_ == -1)
            markedColour_ = windowServices_->GetSystemColor(AppearanceDefaults::MarkedColour);
        ReadColour("ColorCelAct", activeColour_, AppearanceDefaults::ActiveCellColour);
        ReadColour("ColorLineas", lineColour_, AppearanceDefaults::LineColour);
        ReadColour("FontColor", textColour_, AppearanceDefaults::TextColour);
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
    if (size <= PuzzleLimits::MaxFontSize)
        return size;
    if (FirstReportOf(QStringLiteral("FontSize"), *text))
        appServices_->ReportError(AppError(
            ErrorNumber::InvalidArgument, QStringLiteral("ctlCuadricula.LoadConfiguration"),
            appServices_->GetMessage(11521).arg(text->left(40)).arg(PuzzleLimits::MaxFontSize)));
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
