// The bytes are a player's saved progress as the store holds it: the board's
// "Save" cell list up to the first line break, the word list's crossed-out
// rows ("Palabras") after it (no line break: "Palabras" was never stored).
// Each is read against a puzzle as the board and the list read it, written
// again as they write it, and read again: the second reading must give what
// the first showed, from a value as the program writes it.
#include "FuzzFolder.h"

#include "core/DigitList.h"
#include "core/PuzzleRules.h"
#include "outside/AppError.h"

#include <QList>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// A small puzzle: 30 cells, so saved indices 31 to 999 name no cell, and
// 12 words, so saved rows 13 to 99 name no word.
const PuzzleFields kFields{
    QStringLiteral("1"),
    QStringLiteral("10"),
    QStringLiteral("3"),
    QStringLiteral("Diez"),
    QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZÑÁÉÍ"),
    QStringLiteral("UNO DOS TRES CUATRO CINCO SEIS SIETE OCHO NUEVE DIEZ ONCE DOCE"),
    QStringLiteral("001002003")};

[[noreturn]] void Broken(const char* what, const QString& detail = QString()) {
    std::fprintf(stderr, "%s %s\n", what, qPrintable(detail));
    std::abort();
}

// A damaged value may only be refused as "not a number".
void Expect(const DigitList::Reading& reading) {
    if (reading.unread && reading.unread->Number() != ErrorNumber::TypeMismatch)
        Broken("unexpected error:", QStringLiteral("%1 %2")
                                        .arg(reading.unread->Number())
                                        .arg(reading.unread->Description()));
}

// A value as the program writes it: whole entries, each naming 1 to last,
// ascending.
bool IsCanonical(const DigitList& list, const QString& text, qint32 last) {
    if (text.size() % list.Width() != 0)
        return false;
    QString previous;
    for (qsizetype at = 0; at < text.size(); at += list.Width()) {
        const QString entry = text.mid(at, list.Width());
        if (!list.IsWritten(entry, last) || entry <= previous)
            return false;
        previous = entry;
    }
    return true;
}

// Writes what the first reading showed, reads it back and compares.
void RoundTrip(const DigitList& list, const QList<qint32>& shown, qint32 last, const char* name) {
    const QString written = list.Write(shown);
    if (!IsCanonical(list, written, last))
        Broken("written as a damaged list:", QLatin1String(name) + u' ' + written);
    const DigitList::Reading again = list.Read(written, last);
    if (again.named != shown || again.unread || again.pastTheEnd || again.shortEntry)
        Broken("changed over a write and a second reading:", QLatin1String(name) + u' ' + written);
}

// The board marks each named cell; a cell named twice is marked once.
void BoardRoundTrip(const QString& saved, qint32 cells) {
    const DigitList::Reading reading = DigitList::Cells.Read(saved, cells);
    Expect(reading);
    QList<qint32> marked = reading.named;
    std::sort(marked.begin(), marked.end());
    marked.erase(std::unique(marked.begin(), marked.end()), marked.end());
    RoundTrip(DigitList::Cells, marked, cells, "Save");
}

// The list toggles each named row; a row named twice is crossed out and in.
void ListRoundTrip(const QString& saved, qint32 words) {
    const DigitList::Reading reading = DigitList::Rows.Read(saved, words);
    Expect(reading);
    if (reading.shortEntry && !reading.named.isEmpty())
        Broken("read rows from a value of odd length:", saved);
    QList<qint32> crossed;
    for (qint32 row = 1; row <= words; ++row)
        if (reading.named.count(row) % 2 != 0)
            crossed << row;
    RoundTrip(DigitList::Rows, crossed, words, "Palabras");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const Puzzle puzzle = PuzzleRules::Checked(kFields, QString(), QString());
    const QByteArrayView bytes(data, qsizetype(size));
    const qsizetype lineBreak = bytes.indexOf('\n');
    BoardRoundTrip(FuzzFolder::DecodeText(lineBreak < 0 ? bytes : bytes.first(lineBreak)),
                   puzzle.columns * puzzle.rows);
    if (lineBreak >= 0)
        ListRoundTrip(FuzzFolder::DecodeText(bytes.sliced(lineBreak + 1)),
                      qint32(PuzzleRules::WordCount(puzzle.words)));
    return 0;
}
