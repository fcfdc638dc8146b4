#pragma once

#include "MadePuzzle.h"
#include "SeededRandom.h"

#include "core/PuzzleLimits.h"

#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

// Hides words in a letter grid in all eight directions, letting them cross
// where their letters agree, and fills the other cells with letters drawn
// with Spanish frequencies. The same seed gives the same puzzle.
//
// Every word is read exactly once in the finished grid: the filler letters
// are drawn again wherever they would spell a second copy of a word.
class PuzzleMaker {
public:
    static constexpr int MaxWords = PuzzleLimits::MaxWords;
    static constexpr int MaxCells = PuzzleLimits::MaxCells;
    static constexpr int MinWordLength = 2;

    explicit PuzzleMaker(std::uint32_t seed);

    // Makes a puzzle of the given size (columns x rows), or, without one,
    // of the smallest size near a square that the words fit into. Throws
    // MakerRefusal when the input is unusable or no layout is found.
    MadePuzzle Make(const QString& title, const QStringList& words,
                    std::optional<QSize> size = std::nullopt);

    // The word as it stands in the grid: composed accents, upper case
    // (ñ becomes Ñ, á becomes Á).
    static QString GridWord(const QString& word);

    // Every letter the filler may draw.
    static QString FillerAlphabet();

private:
    struct Layout;

    static QString CheckedTitle(const QString& title);
    static QStringList CheckedWords(const QStringList& words);
    static void CheckSize(QSize size, const QStringList& words);
    static QList<QSize> SizesToTry(const QStringList& words);

    std::optional<MadePuzzle> TryLayout(const QString& title, const QStringList& words, QSize size);
    bool PlaceWord(Layout& layout, const QString& word, const QStringList& words);
    bool FillUniquely(Layout& layout);
    QChar FillerLetter();

    SeededRandom random_;
};
