#include "PuzzleMaker.h"

#include "MakerRefusal.h"

#include "core/DigitList.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <vector>

namespace {

struct Step {
    int dColumn;
    int dRow;
};

// Opposite directions stand four apart, so index % 4 names the line's axis.
constexpr std::array<Step, 8> Directions{
    {{1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}, {0, -1}, {1, -1}}};

// Letter frequencies of Spanish text, in thousandths of a percent.
struct Frequency {
    char16_t letter;
    int weight;
};
constexpr std::array<Frequency, 33> SpanishLetters{
    {{u'A', 11525}, {u'B', 2215}, {u'C', 4019}, {u'D', 5010}, {u'E', 12181}, {u'F', 692},
     {u'G', 1768},  {u'H', 703},  {u'I', 6247}, {u'J', 493},  {u'K', 11},    {u'L', 4967},
     {u'M', 3157},  {u'N', 6712}, {u'Ñ', 311},  {u'O', 8683}, {u'P', 2510},  {u'Q', 877},
     {u'R', 6871},  {u'S', 7977}, {u'T', 4632}, {u'U', 2927}, {u'V', 1138},  {u'W', 17},
     {u'X', 215},   {u'Y', 1008}, {u'Z', 467},  {u'Á', 502},  {u'É', 433},   {u'Í', 725},
     {u'Ó', 827},   {u'Ú', 168},  {u'Ü', 12}}};

// How a candidate place for a word is scored: sharing letters with words
// already there counts most, then using a direction that has been used
// less, and a little chance keeps layouts from looking alike.
constexpr int CrossingWeight = 6;
constexpr int BalanceWeight = 4;
constexpr int Chance = 10;
// Crowded rows and columns count against a place (up to this much), so
// that the words spread over the whole grid instead of huddling together.
constexpr int CrowdingWeight = 10;

// Layouts tried before giving up on a size.
constexpr int AttemptsForGivenSize = 200;
constexpr int AttemptsPerChosenSize = 25;
// Rounds of redrawing filler letters that spell a second copy of a word.
constexpr int FillRounds = 60;

int CellCount(QSize size) {
    return size.width() * size.height();
}

unsigned char AxisBit(int direction) {
    return static_cast<unsigned char>(1u << (direction % 4));
}

int DirectionOf(const PlacedWord& place) {
    const auto found = std::find_if(Directions.begin(), Directions.end(), [&](Step step) {
        return step.dColumn == place.dColumn && step.dRow == place.dRow;
    });
    return int(found - Directions.begin());
}

QString Reversed(const QString& text) {
    QString reversed = text;
    std::reverse(reversed.begin(), reversed.end());
    return reversed;
}

} // namespace

struct PuzzleMaker::Layout {
    explicit Layout(QSize size)
        : columns(size.width()), rows(size.height()), cells(CellCount(size)),
          axes(CellCount(size), 0), rowUse(size.height() + 1, 0), columnUse(size.width() + 1, 0) {}

    int Index(int column, int row) const { return (row - 1) * columns + (column - 1); }
    bool Inside(int column, int row) const {
        return column >= 1 && column <= columns && row >= 1 && row <= rows;
    }

    // Whether word can be read from (column, row) on in the step's direction.
    bool Spells(const QString& word, int column, int row, Step step) const {
        const int length = int(word.size());
        if (!Inside(column, row) ||
            !Inside(column + step.dColumn * (length - 1), row + step.dRow * (length - 1)))
            return false;
        for (int i = 0; i < length; ++i) {
            if (cells[Index(column + step.dColumn * i, row + step.dRow * i)] != word[i])
                return false;
        }
        return true;
    }

    // The end cells of a reading, lower first, so that a word and its
    // reverse on the same cells compare equal.
    std::pair<int, int> Span(const QString& word, int column, int row, Step step) const {
        const int length = int(word.size());
        const int first = Index(column, row);
        const int last =
            Index(column + step.dColumn * (length - 1), row + step.dRow * (length - 1));
        return {std::min(first, last), std::max(first, last)};
    }

    // Whether any of the words reads through one of the given cells
    // anywhere but where `own` was just put.
    // Keeps a word placed over its new cells: its line, and how full its
    // rows, columns and direction are.
    void Record(const PlacedWord& place, const std::vector<int>& newCells) {
        const int direction = DirectionOf(place);
        for (int i = 0; i < int(place.word.size()); ++i)
            axes[Index(place.column + place.dColumn * i, place.row + place.dRow * i)] |=
                AxisBit(direction);
        for (int cell : newCells) {
            ++rowUse[cell / columns + 1];
            ++columnUse[cell % columns + 1];
        }
        ++directionUse[direction];
        placements += place;
    }

    bool SpellsACopy(const QStringList& words, const std::vector<int>& throughCells,
                     const PlacedWord& own) const {
        const Step ownStep{own.dColumn, own.dRow};
        for (const QString& word : words) {
            for (int cell : throughCells) {
                const int column = cell % columns + 1;
                const int row = cell / columns + 1;
                for (int k = 0; k < word.size(); ++k) {
                    if (cells[cell] != word[k])
                        continue;
                    for (const Step step : Directions) {
                        const int startColumn = column - step.dColumn * k;
                        const int startRow = row - step.dRow * k;
                        if (!Spells(word, startColumn, startRow, step))
                            continue;
                        if (word == own.word && Span(word, startColumn, startRow, step) ==
                                                    Span(word, own.column, own.row, ownStep))
                            continue;
                        return true;
                    }
                }
            }
        }
        return false;
    }

    int columns;
    int rows;
    std::vector<QChar> cells;        // a null QChar is a cell no word uses
    std::vector<unsigned char> axes; // one bit per axis of the words through a cell
    std::vector<bool> filler;        // set once the words are in
    std::vector<int> rowUse;         // letters placed in each row, 1-based
    std::vector<int> columnUse;      // letters placed in each column, 1-based
    QList<PlacedWord> placements;
    std::array<int, 8> directionUse{};
};

PuzzleMaker::PuzzleMaker(std::uint32_t seed) : random_(seed) {}

QString PuzzleMaker::GridWord(const QString& word) {
    return word.normalized(QString::NormalizationForm_C).toUpper();
}

QString PuzzleMaker::FillerAlphabet() {
    QString alphabet;
    for (const Frequency& entry : SpanishLetters)
        alphabet += QChar(entry.letter);
    return alphabet;
}

MadePuzzle PuzzleMaker::Make(const QString& title, const QStringList& words,
                             std::optional<QSize> givenSize) {
    const QString checkedTitle = CheckedTitle(title);
    const QStringList checkedWords = CheckedWords(words);

    if (givenSize) {
        const QSize size = *givenSize;
        CheckSize(size, checkedWords);
        for (int attempt = 0; attempt < AttemptsForGivenSize; ++attempt) {
            if (auto puzzle = TryLayout(checkedTitle, checkedWords, size))
                return *puzzle;
        }
        throw MakerRefusal(QStringLiteral("No layout of the %1 words in %2x%3 found after %4 "
                                          "attempts: give a larger size or fewer words.")
                               .arg(checkedWords.size())
                               .arg(size.width())
                               .arg(size.height())
                               .arg(AttemptsForGivenSize));
    }

    for (QSize candidate : SizesToTry(checkedWords)) {
        for (int attempt = 0; attempt < AttemptsPerChosenSize; ++attempt) {
            if (auto puzzle = TryLayout(checkedTitle, checkedWords, candidate))
                return *puzzle;
        }
    }
    throw MakerRefusal(QStringLiteral("The %1 words do not fit in a grid of at most %2 cells.")
                           .arg(checkedWords.size())
                           .arg(MaxCells));
}

QString PuzzleMaker::CheckedTitle(const QString& title) {
    const QString trimmed = title.trimmed();
    if (trimmed.isEmpty())
        throw MakerRefusal(QStringLiteral("The title is empty."));
    for (QChar character : trimmed) {
        if (character.category() == QChar::Other_Control)
            throw MakerRefusal(
                QStringLiteral("The title \"%1\" holds a control character.").arg(trimmed));
    }
    return trimmed;
}

QStringList PuzzleMaker::CheckedWords(const QStringList& words) {
    if (words.isEmpty())
        throw MakerRefusal(QStringLiteral("There are no words."));
    if (words.size() > MaxWords)
        throw MakerRefusal(QStringLiteral("There are %1 words; a puzzle holds at most %2.")
                               .arg(words.size())
                               .arg(MaxWords));

    QStringList checked;
    for (const QString& given : words) {
        const QString word = GridWord(given);
        const bool lettersOnly =
            std::all_of(word.begin(), word.end(), [](QChar c) { return c.isLetter(); });
        if (!lettersOnly)
            throw MakerRefusal(
                QStringLiteral("\"%1\" is not a word of letters only (no blanks, digits or "
                               "signs).")
                    .arg(given));
        if (word.size() < MinWordLength)
            throw MakerRefusal(
                QStringLiteral("\"%1\" is shorter than %2 letters.").arg(given).arg(MinWordLength));
        if (checked.contains(word))
            throw MakerRefusal(QStringLiteral("%1 is in the list twice.").arg(word));
        checked += word;
    }

    // A word inside another would be found twice in the grid.
    for (const QString& part : checked) {
        for (const QString& whole : checked) {
            if (&part != &whole && (whole.contains(part) || whole.contains(Reversed(part))))
                throw MakerRefusal(
                    QStringLiteral("%1 can be read inside %2, so the grid would show it twice.")
                        .arg(part, whole));
        }
    }
    return checked;
}

void PuzzleMaker::CheckSize(QSize size, const QStringList& words) {
    if (size.width() < 1 || size.height() < 1)
        throw MakerRefusal(
            QStringLiteral("The size %1x%2 has no cells.").arg(size.width()).arg(size.height()));
    if (qint64(size.width()) * size.height() > MaxCells)
        throw MakerRefusal(QStringLiteral("The size %1x%2 has more than %3 cells.")
                               .arg(size.width())
                               .arg(size.height())
                               .arg(MaxCells));
    const int longestSide = std::max(size.width(), size.height());
    for (const QString& word : words) {
        if (word.size() > longestSide)
            throw MakerRefusal(QStringLiteral("%1 has %2 letters: longer than both sides of %3x%4.")
                                   .arg(word)
                                   .arg(word.size())
                                   .arg(size.width())
                                   .arg(size.height()));
    }
}

QList<QSize> PuzzleMaker::SizesToTry(const QStringList& words) {
    int letters = 0;
    int longest = 0;
    for (const QString& word : words) {
        letters += int(word.size());
        longest = std::max(longest, int(word.size()));
    }
    // Start a little above the letter count, since crossings save cells,
    // then grow one side at a time.
    const int side = int(std::ceil(std::sqrt(letters * 1.25)));
    QSize size(std::max(side, longest), std::max(side, longest));
    if (CellCount(size) > MaxCells) {
        const int columns = std::max(longest, int(std::sqrt(double(MaxCells))));
        size = QSize(columns, MaxCells / columns);
    }

    QList<QSize> sizes;
    bool growColumns = true;
    while (CellCount(size) <= MaxCells && size.height() >= 1) {
        sizes += size;
        if (growColumns)
            size.setWidth(size.width() + 1);
        else
            size.setHeight(size.height() + 1);
        growColumns = !growColumns;
    }
    return sizes;
}

std::optional<MadePuzzle> PuzzleMaker::TryLayout(const QString& title, const QStringList& words,
                                                 QSize size) {
    Layout layout(size);

    // Longest words first: they have the fewest places to go.
    std::vector<int> order(words.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return words[a].size() > words[b].size(); });
    for (int index : order) {
        if (!PlaceWord(layout, words[index], words))
            return std::nullopt;
    }
    if (!FillUniquely(layout))
        return std::nullopt;

    MadePuzzle puzzle;
    puzzle.title = title;
    puzzle.columns = layout.columns;
    puzzle.rows = layout.rows;
    puzzle.words = words;
    for (QChar letter : layout.cells)
        puzzle.letters += letter;
    for (const QString& word : words) {
        auto placed = std::find_if(layout.placements.begin(), layout.placements.end(),
                                   [&](const PlacedWord& p) { return p.word == word; });
        puzzle.placements += *placed;
    }
    QList<qint32> solution;
    for (int index = 0; index < int(layout.cells.size()); ++index) {
        if (!layout.filler[index])
            solution << index + 1;
    }
    puzzle.solution = DigitList::Cells.Write(solution);
    return puzzle;
}

bool PuzzleMaker::PlaceWord(Layout& layout, const QString& word, const QStringList& words) {
    const int length = int(word.size());
    const int mostUsed = *std::max_element(layout.directionUse.begin(), layout.directionUse.end());

    struct Candidate {
        int score;
        PlacedWord place;
    };
    std::vector<Candidate> candidates;
    for (int direction = 0; direction < int(Directions.size()); ++direction) {
        const Step step = Directions[direction];
        for (int row = 1; row <= layout.rows; ++row) {
            for (int column = 1; column <= layout.columns; ++column) {
                if (!layout.Inside(column + step.dColumn * (length - 1),
                                   row + step.dRow * (length - 1)))
                    continue;
                int crossings = 0;
                int crowding = 0;
                bool fits = true;
                for (int i = 0; i < length && fits; ++i) {
                    const int c = column + step.dColumn * i;
                    const int r = row + step.dRow * i;
                    crowding +=
                        layout.rowUse[r] * layout.rows + layout.columnUse[c] * layout.columns;
                    const int cell = layout.Index(c, r);
                    if (layout.cells[cell].isNull())
                        continue;
                    // Sharing a letter is a crossing; running along another
                    // word's line would merge the two.
                    fits =
                        layout.cells[cell] == word[i] && !(layout.axes[cell] & AxisBit(direction));
                    ++crossings;
                }
                if (!fits || crossings == length)
                    continue;
                // crowding / length / cells is the mean fullness of the
                // word's rows and columns, from 0 to 2.
                const int score =
                    crossings * CrossingWeight +
                    (mostUsed - layout.directionUse[direction]) * BalanceWeight +
                    int(random_.Below(Chance)) -
                    crowding * CrowdingWeight / (2 * length * int(layout.cells.size()));
                candidates.push_back(
                    {score, PlacedWord{word, column, row, step.dColumn, step.dRow}});
            }
        }
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate& a, const Candidate& b) { return a.score > b.score; });

    for (const Candidate& candidate : candidates) {
        const PlacedWord& place = candidate.place;
        std::vector<int> newCells;
        for (int i = 0; i < length; ++i) {
            const int cell =
                layout.Index(place.column + place.dColumn * i, place.row + place.dRow * i);
            if (layout.cells[cell].isNull()) {
                layout.cells[cell] = word[i];
                newCells.push_back(cell);
            }
        }
        // Crossing letters can spell a word a second time; no filler
        // letter could undo that later.
        if (layout.SpellsACopy(words, newCells, place)) {
            for (int cell : newCells)
                layout.cells[cell] = QChar();
            continue;
        }
        layout.Record(place, newCells);
        return true;
    }
    return false;
}

bool PuzzleMaker::FillUniquely(Layout& layout) {
    const int cellCount = int(layout.cells.size());
    layout.filler.assign(cellCount, false);
    for (int cell = 0; cell < cellCount; ++cell) {
        if (layout.cells[cell].isNull()) {
            layout.filler[cell] = true;
            layout.cells[cell] = FillerLetter();
        }
    }

    for (int round = 0; round < FillRounds; ++round) {
        std::vector<bool> redraw(cellCount, false);
        bool anyRedraw = false;
        for (const PlacedWord& placed : layout.placements) {
            const QString& word = placed.word;
            const auto placedSpan =
                layout.Span(word, placed.column, placed.row, {placed.dColumn, placed.dRow});
            for (int row = 1; row <= layout.rows; ++row) {
                for (int column = 1; column <= layout.columns; ++column) {
                    for (const Step step : Directions) {
                        // A word that reads the same backwards is found twice
                        // on its own cells; that is still the one copy.
                        if (!layout.Spells(word, column, row, step) ||
                            layout.Span(word, column, row, step) == placedSpan)
                            continue;
                        bool redrawable = false;
                        for (int i = 0; i < word.size(); ++i) {
                            const int cell =
                                layout.Index(column + step.dColumn * i, row + step.dRow * i);
                            if (layout.filler[cell]) {
                                redraw[cell] = true;
                                redrawable = true;
                            }
                        }
                        if (!redrawable)
                            return false; // the words alone spell the copy
                        anyRedraw = true;
                    }
                }
            }
        }
        if (!anyRedraw)
            return true;
        for (int cell = 0; cell < cellCount; ++cell) {
            if (redraw[cell])
                layout.cells[cell] = FillerLetter();
        }
    }
    return false;
}

QChar PuzzleMaker::FillerLetter() {
    static const int total =
        std::accumulate(SpanishLetters.begin(), SpanishLetters.end(), 0,
                        [](int sum, const Frequency& entry) { return sum + entry.weight; });
    int pick = int(random_.Below(std::uint32_t(total)));
    for (const Frequency& entry : SpanishLetters) {
        if (pick < entry.weight)
            return QChar(entry.letter);
        pick -= entry.weight;
    }
    return QChar(SpanishLetters.back().letter);
}
