#include "wordlist/ctlLista.h"

#include "core/DigitList.h"
#include "core/PuzzleLimits.h"
#include "outside/AppServices.h"
#include "outside/DamagedValue.h"
#include "outside/GridSetup.h"
#include "outside/ProductInfo.h"
#include "outside/RegistryStore.h"
#include "outside/WindowServices.h"
#include "outside/ctlGrid.h"

namespace {
constexpr double ListFontSize = 14;
} // namespace

ctlLista::ctlLista(QWidget* parent) : GridControl(QStringLiteral("ctlLista"), parent) {
    grid_->setObjectName(QStringLiteral("ctlGridPalabras"));
    // The list's own font when it is first built.
    FontObject font;
    font.SetName(QStringLiteral("MS Sans Serif"));
    font.SetSize(13.5);
    grid_->SetFont(MakeFont(font));
}

ctlLista::~ctlLista() = default;

FontRef ctlLista::CopyOfCellFont(qint32 column, qint32 row) const {
    const FontRef own = grid_->CellFont(column, row);
    auto copy = MakeFont();
    windowServices_->CopyFont(own ? *own : *grid_->Font(), *copy);
    return copy;
}

void ctlLista::Refresh() {
    ReraiseAs("ctlListaPalabras.ListaActualizar", [&] {
        const QStringList words =
            Palabras_.isEmpty() ? QStringList() : Palabras_.split(QLatin1Char(' '));
        GridSetup{.headerColumns = true, .gridLines = false}.Apply(
            *grid_, 1, static_cast<qint32>(words.size()));

        grid_->CellDetails(1, 0, appServices_->GetMessage(10200), CellFormat::Centred);
        const FontRef header = CopyOfCellFont(1, 0);
        header->SetBold(true);
        header->SetSize(ListFontSize);
        header->SetUnderline(true);
        grid_->SetCellFont(1, 0, header);

        auto body = MakeFont();
        windowServices_->CopyFont(*grid_->Font(), *body);
        body->SetSize(ListFontSize);
        grid_->SetFont(body);

        for (qint32 row = 1; row <= words.size(); ++row)
            grid_->CellDetails(1, row, words[row - 1], CellFormat::Centred);
        grid_->ActualizarFont();
        SetGridSpeech();
        grid_->SetRedraw(true);
        ReadWordMarks();
    });
}

// What a screen reader hears of the list: how many words are crossed out,
// and for each word whether it is; after each change, both.
void ctlLista::SetGridSpeech() {
    GridSpeech speech;
    speech.name = appServices_->GetMessage(11206);
    speech.description = appServices_->GetMessage(11207);
    speech.cellState = GridSpeech::CellState::Strikethrough;
    speech.stateOn = appServices_->GetMessage(11208);
    speech.stateOff = appServices_->GetMessage(11209);
    speech.cellDescription = appServices_->GetMessage(11212);
    speech.countOnChange = true;
    grid_->SetSpeech(speech);
}

// A row the list does not have (a saved number from a longer list, or the
// heading) is ignored.
void ctlLista::SeleccionarPalabra(qint32 column, qint32 row) {
    ReraiseAs("ctlLista.SeleccionarPalabra", [&] {
        if (row <= 0 || row > grid_->GetRowCount())
            return;
        const FontRef font = CopyOfCellFont(column, row);
        font->SetStrikethrough(!font->Strikethrough());
        grid_->SetCellFont(column, row, font);
    });
}

void ctlLista::Save() {
    ReraiseAs("ctlListaPalabras.ListaGrabar", [&] {
        if (NumeroJuego_ == 0)
            return;
        QList<qint32> crossedOut;
        const qint32 rows = qMin(grid_->GetRowCount(), qint32{PuzzleLimits::MaxWords});
        for (qint32 row = 1; row <= rows; ++row) {
            const FontRef font = grid_->CellFont(1, row);
            if (font && font->Strikethrough())
                crossedOut << row;
        }
        RegistryStore().WriteValue(
            RegistryStore::CurrentUser, productInfo_->GetRegistryKey(2, NumeroJuego_),
            QStringLiteral("Palabras"), DigitList::Rows.Write(crossedOut), RegistryStore::Text);
    });
}

// Every readable row is crossed out. A saved value the list cannot take
// whole (a pair that is no number, an odd length, a row past the last word,
// as a longer list under the same number left it) is kept aside before the
// next save writes the rows anew; a pair that is no number is then raised.
void ctlLista::ReadWordMarks() {
    ReraiseAs("ctlListaPalabras.ListaLeer", [&] {
        const QString key = productInfo_->GetRegistryKey(2, NumeroJuego_);
        const QString saved =
            RegistryStore()
                .ReadValue(RegistryStore::CurrentUser, key, QStringLiteral("Palabras"))
                .toString();
        rowsKeptAside_ = false;
        const DigitList::Reading reading = DigitList::Rows.Read(saved, grid_->GetRowCount());
        for (const qint32 row : reading.named)
            SeleccionarPalabra(1, row);
        if (reading.unread || reading.pastTheEnd || reading.shortEntry)
            DamagedValue::KeepAside(key, QStringLiteral("Palabras"), saved);
        rowsKeptAside_ = reading.pastTheEnd && !reading.unread;
        if (reading.unread)
            throw AppError(reading.unread->Number(), reading.unread->Source(),
                           appServices_->GetMessage(11544).arg(NumeroJuego_).arg(saved.left(40)));
    });
}

void ctlLista::CellChosen(qint32 column, qint32 row) {
    SeleccionarPalabra(column, row);
}
