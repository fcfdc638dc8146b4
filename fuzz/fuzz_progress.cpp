// The bytes are a player's saved progress as the store holds it: the board's
// "Save" cell list up to the first line break, the word list's crossed-out
// rows ("Palabras") after it (no line break: "Palabras" was never stored).
// The real board and list read them back when they are refreshed; what they
// show must then survive their own Save and a second refresh unchanged.
#include "FuzzHome.h"

#include "board/ctlCuadricula.h"
#include "outside/AppError.h"
#include "outside/ProductInfo.h"
#include "outside/RegistryStore.h"
#include "outside/ctlGrid.h"
#include "wordlist/ctlLista.h"

#include <QCoreApplication>
#include <QList>
#include <QPoint>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr qint32 Game = 1;

// A small puzzle: 30 cells, so saved indices 31 to 999 name no cell, and
// 12 words, so saved rows 13 to 99 name no word.
const char* const kDataFile =
    "[1]\n"
    "Titulo=Diez\n"
    "CantAncho=10\n"
    "CantAlto=3\n"
    "Letras=ABCDEFGHIJKLMNOPQRSTUVWXYZÑÁÉÍ\n"
    "Palabras=UNO DOS TRES CUATRO CINCO SEIS SIETE OCHO NUEVE DIEZ ONCE DOCE\n"
    "Solucion=001002003\n";

[[noreturn]] void Broken(const char* what, const QString& detail = QString()) {
    std::fprintf(stderr, "%s %s\n", what, qPrintable(detail));
    std::abort();
}

QString Stored(const char* name) {
    return RegistryStore()
        .ReadValue(RegistryStore::CurrentUser, ProductInfo().GetRegistryKey(2, Game),
                   QLatin1String(name))
        .toString();
}

void Store(const char* name, const QString& value) {
    RegistryStore().WriteValue(RegistryStore::CurrentUser, ProductInfo().GetRegistryKey(2, Game),
                               QLatin1String(name), value, RegistryStore::Text);
    if (Stored(name) != value)
        Broken("the store gave back another text than it was given:", value);
}

QList<QPoint> Marked(const ctlCuadricula& board) {
    QList<QPoint> marked;
    for (int row = 1; row <= board.Rows(); ++row)
        for (int column = 1; column <= board.Columns(); ++column)
            if (board.Grid()->CellBackColor(column, row) != -1)
                marked << QPoint(column, row);
    return marked;
}

QList<int> CrossedOut(const ctlLista& list) {
    QList<int> rows;
    for (int row = 1; row <= list.Grid()->GetRowCount(); ++row) {
        const FontRef font = list.Grid()->CellFont(1, row);
        if (font && font->Strikethrough())
            rows << row;
    }
    return rows;
}

// A damaged value may only be refused as "not a number".
void Expect(const AppError& error, const char* source) {
    if (error.Number() != ErrorNumber::TypeMismatch || error.Source() != QLatin1String(source))
        Broken("unexpected error:", QStringLiteral("%1 %2 %3")
                                        .arg(error.Number())
                                        .arg(error.Source(), error.Description()));
}

// A value as the program writes it: entries of `width` digits, ascending.
bool IsCanonical(const QString& text, int width, int last) {
    if (text.size() % width != 0)
        return false;
    int previous = 0;
    for (qsizetype at = 0; at < text.size(); at += width) {
        bool ok = false;
        const int entry = text.mid(at, width).toInt(&ok);
        for (qsizetype i = at; i < at + width; ++i)
            ok = ok && text[i] >= u'0' && text[i] <= u'9';
        if (!ok || entry <= previous || entry > last)
            return false;
        previous = entry;
    }
    return true;
}

void BoardRoundTrip() {
    ctlCuadricula board;
    board.SetNumeroJuego(Game);
    board.LoadPuzzle();
    try {
        board.Refresh(true);
    } catch (const AppError& error) {
        Expect(error, "ctlCuadricula.Load");
        return;
    }
    board.resize(300, 120);
    board.grab(); // paints the marks
    const QList<QPoint> marked = Marked(board);
    board.Save();
    if (!IsCanonical(Stored("Save"), 3, board.Columns() * board.Rows()))
        Broken("the board saved a damaged cell list:", Stored("Save"));
    board.Refresh(true);
    if (Marked(board) != marked)
        Broken("the board's marks changed over Save and Refresh");
}

void ListRoundTrip() {
    ctlLista list;
    list.SetNumeroJuego(Game);
    list.SetPalabras(QStringLiteral("UNO DOS TRES CUATRO CINCO SEIS SIETE OCHO NUEVE DIEZ ONCE "
                                    "DOCE"));
    try {
        list.Refresh();
    } catch (const AppError& error) {
        Expect(error, "ctlListaPalabras.ListaActualizar");
        return;
    }
    list.resize(150, 400);
    list.grab(); // paints the crossed-out words
    const QList<int> crossed = CrossedOut(list);
    list.Save();
    if (!IsCanonical(Stored("Palabras"), 2, list.Grid()->GetRowCount()))
        Broken("the list saved a damaged row list:", Stored("Palabras"));
    list.Refresh();
    if (CrossedOut(list) != crossed)
        Broken("the list's crossed-out words changed over Save and Refresh");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    FuzzHome::Start(argc, argv);
    FuzzHome::WriteDataFile(kDataFile);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(data, qsizetype(size));
    const qsizetype lineBreak = bytes.indexOf('\n');
    FuzzHome::FreshStore();
    Store("Save", FuzzHome::DecodeText(lineBreak < 0 ? bytes : bytes.first(lineBreak)));
    if (lineBreak >= 0)
        Store("Palabras", FuzzHome::DecodeText(bytes.sliced(lineBreak + 1)));
    BoardRoundTrip();
    ListRoundTrip();
    QCoreApplication::sendPostedEvents();
    return 0;
}
