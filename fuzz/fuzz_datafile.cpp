// The bytes are the puzzle data file. The titles are read the way the game
// chooser reads them, and puzzles are loaded and shown by the board's own
// code, with the word list beside it. What the board loads is held against
// a plain second reading of the file's rules.
#include "FuzzHome.h"
#include "PlainProfileReader.h"

#include "board/ctlCuadricula.h"
#include "outside/AppError.h"
#include "outside/IniFileReader.h"
#include "wordlist/ctlLista.h"

#include <QStringList>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// Loading every puzzle of a long file would make each input slow; the
// first few, the last listed and the one after it cover the cases.
constexpr qint32 FirstLoaded = 4;

QStringList TitlesLikeTheChooser() {
    const IniFileReader reader;
    QStringList titles;
    for (qint32 number = 1;; ++number) {
        const QString title = reader.GetValue(QString::number(number), QStringLiteral("Titulo"),
                                              FuzzHome::DataFile(), 0);
        if (title.isEmpty())
            return titles;
        titles << title;
    }
}

[[noreturn]] void Broken(const char* what, qint32 number, const QString& detail = QString()) {
    std::fprintf(stderr, "Puzzle %d: %s %s\n", number, what, qPrintable(detail));
    std::abort();
}

void Compare(const char* key, const QString& loaded, const PlainProfileReader& plain,
             qint32 number) {
    std::optional<QString> expected = plain.Value(QString::number(number), QLatin1String(key));
    // The board composes letters (a base and its accent make one cell).
    if (expected && qstrcmp(key, "Letras") == 0)
        expected = expected->normalized(QString::NormalizationForm_C);
    if (expected && *expected != loaded)
        Broken("loaded another value than the file holds for", number,
               QStringLiteral("%1: \"%2\" instead of \"%3\"")
                   .arg(QLatin1String(key), loaded.left(200), expected->left(200)));
}

void Show(ctlCuadricula& board, ctlLista& list, qint32 number, const QString& listedTitle,
          const PlainProfileReader& plain) {
    board.SetNumeroJuego(number);
    try {
        board.LoadPuzzle();
    } catch (const AppError&) {
        return; // the chooser reports it and the board keeps its puzzle
    }
    const qint64 cells = qint64(board.Columns()) * board.Rows();
    if (board.Columns() < 1 || board.Rows() < 1 || cells > 999)
        Broken("loaded with a size a cell list cannot name", number);
    if (!listedTitle.isNull() && board.Titulo() != listedTitle)
        Broken("loaded with another title than the chooser lists", number);
    Compare("Titulo", board.Titulo(), plain, number);
    Compare("Letras", board.Letras(), plain, number);
    Compare("Palabras", board.Palabras(), plain, number);
    Compare("Solucion", board.Solucion(), plain, number);
    try {
        board.Refresh(true);
        board.grab(); // paints the letters as the player would see them
        list.SetNumeroJuego(number);
        list.SetPalabras(board.Palabras());
        list.Refresh();
        list.grab();
        board.Refresh(false); // as the solution viewer shows it
    } catch (const AppError&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    FuzzHome::Start(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzHome::WriteDataFile(QByteArrayView(data, qsizetype(size)));
    const QStringList titles = TitlesLikeTheChooser();
    const auto listed = qint32(titles.size());
    const PlainProfileReader plain(QByteArrayView(data, qsizetype(size)));
    for (qint32 number = 1; number <= listed + 1; ++number)
        Compare("Titulo", number <= listed ? titles[number - 1] : QString(), plain, number);

    ctlCuadricula board;
    ctlLista list;
    board.resize(300, 300);
    list.resize(150, 300);
    for (qint32 number = 1; number <= listed + 1; ++number) {
        if (number > FirstLoaded && number < listed)
            number = listed;
        Show(board, list, number, number <= listed ? titles[number - 1] : QString(), plain);
    }
    return 0;
}
