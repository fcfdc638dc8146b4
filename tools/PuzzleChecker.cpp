#include "PuzzleChecker.h"

#include "DataFileScan.h"
#include "GridWords.h"

#include "core/DataFileKeys.h"
#include "core/DigitList.h"
#include "core/PuzzleFile.h"
#include "core/PuzzleRules.h"
#include "outside/AppError.h"
#include "outside/IniFileReader.h"
#include "outside/MessageCatalogue.h"

#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#include <map>
#include <optional>
#include <set>

namespace {

using Faults = std::vector<PuzzleFault>;
using Cells = GridWords::Cells;

QString Say(int number) {
    return MessageCatalogue::Text(number);
}

QString Quoted(const QString& text) {
    return MessageCatalogue::CurrentLanguage() == MessageCatalogue::Language::Spanish
               ? QStringLiteral("«%1»").arg(text)
               : QStringLiteral("\"%1\"").arg(text);
}

QString NumberList(const std::set<int>& numbers) {
    QStringList texts;
    for (int number : numbers)
        texts += QString::number(number);
    return texts.join(QStringLiteral(", "));
}

// A size key as the board converts it, or nothing (with the fault noted).
std::optional<qint32> Dimension(const PuzzleFields& puzzle, const QString& text, const QString& key,
                                Faults& faults) {
    if (text.trimmed().isEmpty()) {
        faults.push_back({puzzle.section, key, Say(11325)});
        return std::nullopt;
    }
    try {
        return PuzzleRules::Dimension(text, QStringLiteral("PuzzleChecker"));
    } catch (const AppError&) {
        faults.push_back({puzzle.section, key, Say(11320).arg(Quoted(text))});
        return std::nullopt;
    }
}

// Text saved after being read in the wrong encoding, or after a conversion
// that lost letters.
void CheckEncodingOfValues(const PuzzleFields& puzzle, Faults& faults) {
    static const QRegularExpression misread(QStringLiteral(
        "[ÃÂ][\\x{0080}-\\x{00BF}\\x{0152}\\x{0153}\\x{0160}\\x{0161}\\x{0178}\\x{017D}"
        "\\x{017E}\\x{0192}\\x{02C6}\\x{02DC}\\x{2013}-\\x{2022}\\x{2026}\\x{2030}\\x{2039}"
        "\\x{203A}\\x{20AC}\\x{2122}]"));
    const std::pair<const QString&, const QString&> values[] = {
        {DataFileKeys::Title, puzzle.title},     {DataFileKeys::Letters, puzzle.letters},
        {DataFileKeys::Words, puzzle.words},     {DataFileKeys::Solution, puzzle.solution},
        {DataFileKeys::Columns, puzzle.columns}, {DataFileKeys::Rows, puzzle.rows}};
    for (const auto& [key, value] : values) {
        if (value.contains(QChar::ReplacementCharacter))
            faults.push_back({puzzle.section, key, Say(11352)});
        const QRegularExpressionMatch match = misread.match(value);
        if (match.hasMatch())
            faults.push_back({puzzle.section, key, Say(11351).arg(Quoted(match.captured()))});
    }
}

void CheckLetters(const PuzzleFields& puzzle, const QString& letters, int columns, int rows,
                  Faults& faults) {
    const QString& key = DataFileKeys::Letters;
    const int cells = columns * rows;
    if (letters.size() != cells)
        faults.push_back({puzzle.section, key,
                          Say(11322).arg(letters.size()).arg(columns).arg(rows).arg(cells)});
    for (int i = 0; i < std::min(int(letters.size()), cells); ++i) {
        const QChar letter = letters[i];
        if (const auto wide = PuzzleRules::WideLetterAt(letters, i)) {
            faults.push_back(
                {puzzle.section, key,
                 Say(11324).arg(Quoted(wide->text), QString::number(wide->start + 1))});
            if (letter.isHighSurrogate())
                ++i; // the low half belongs to the same letter
        } else if (!letter.isLetter()) {
            faults.push_back({puzzle.section, key, Say(11323).arg(i + 1).arg(Quoted(letter))});
        }
    }
}

// The words as the list shows them, one row per piece between blanks.
QStringList CheckWordList(const PuzzleFields& puzzle, const QString& words, Faults& faults) {
    const QString& key = DataFileKeys::Words;
    if (words.isEmpty()) {
        faults.push_back({puzzle.section, key, Say(11330)});
        return {};
    }
    const QStringList list = words.split(u' ');
    if (!PuzzleRules::WordsFit(words))
        faults.push_back({puzzle.section, key, Say(11332).arg(PuzzleRules::WordCount(words))});
    int at = 1;
    QStringList seen;
    for (const QString& word : list) {
        if (word.isEmpty())
            faults.push_back({puzzle.section, key, Say(11331).arg(at)});
        else if (seen.contains(word))
            faults.push_back({puzzle.section, key, Say(11335).arg(Quoted(word))});
        seen += word;
        at += int(word.size()) + 1;
    }
    seen.removeDuplicates();
    seen.removeAll(QString());
    return seen;
}

// The cells of a cell list, or nothing when an entry names no cell.
std::optional<Cells> CheckSolution(const PuzzleFields& puzzle, int cells, Faults& faults) {
    const QString& key = DataFileKeys::Solution;
    const QString& list = puzzle.solution;
    if (list.size() % DigitList::Cells.Width() != 0) {
        faults.push_back({puzzle.section, key, Say(11340).arg(list.size())});
        return std::nullopt;
    }
    Cells solution;
    bool sound = true;
    for (int at = 0; at < list.size(); at += DigitList::Cells.Width()) {
        const QString entry = list.mid(at, DigitList::Cells.Width());
        const int cell = entry.toInt();
        if (!DigitList::Cells.IsWritten(entry, cells)) {
            faults.push_back({puzzle.section, key,
                              // One call: an entry may hold a '%' of its own.
                              Say(11341).arg(Quoted(entry), QString::number(at + 1),
                                             DigitList::Cells.Write({cells}))});
            sound = false;
        }
        solution.insert(cell);
    }
    return sound ? std::optional<Cells>(solution) : std::nullopt;
}

// Picks one place per word so that together they cover exactly the
// solution; a choice is needed only where a word is found twice.
bool CoverExactly(const std::vector<std::vector<Cells>>& choices, size_t word,
                  std::map<int, int>& covered, const Cells& solution, int& budget) {
    if (--budget < 0)
        return false;
    if (word == choices.size())
        return covered.size() == solution.size() &&
               std::all_of(covered.begin(), covered.end(),
                           [&](const auto& entry) { return solution.count(entry.first) > 0; });
    for (const Cells& place : choices[word]) {
        for (int cell : place)
            ++covered[cell];
        if (CoverExactly(choices, word + 1, covered, solution, budget))
            return true;
        for (int cell : place) {
            if (--covered[cell] == 0)
                covered.erase(cell);
        }
    }
    return false;
}

// The cells of each word's likeliest place: one inside the solution if any.
Cells WordCells(const std::vector<std::vector<Cells>>& choices, const Cells& solution) {
    Cells cells;
    for (const std::vector<Cells>& places : choices) {
        const auto inside = std::find_if(places.begin(), places.end(), [&](const Cells& place) {
            return std::includes(solution.begin(), solution.end(), place.begin(), place.end());
        });
        const Cells& chosen = inside != places.end() ? *inside : places.front();
        cells.insert(chosen.begin(), chosen.end());
    }
    return cells;
}

void CompareSolution(const PuzzleFields& puzzle, const std::vector<std::vector<Cells>>& choices,
                     const Cells& solution, Faults& faults) {
    std::map<int, int> covered;
    int budget = 100000;
    if (CoverExactly(choices, 0, covered, solution, budget))
        return;
    const QString& key = DataFileKeys::Solution;
    const Cells words = WordCells(choices, solution);
    std::set<int> extra, missing;
    std::set_difference(solution.begin(), solution.end(), words.begin(), words.end(),
                        std::inserter(extra, extra.end()));
    std::set_difference(words.begin(), words.end(), solution.begin(), solution.end(),
                        std::inserter(missing, missing.end()));
    if (!extra.empty())
        faults.push_back({puzzle.section, key, Say(11342).arg(NumberList(extra))});
    if (!missing.empty())
        faults.push_back({puzzle.section, key, Say(11343).arg(NumberList(missing))});
    if (extra.empty() && missing.empty())
        faults.push_back({puzzle.section, key, Say(11344)});
}

void CheckWordsInGrid(const PuzzleFields& puzzle, const QString& letters, int columns, int rows,
                      const QStringList& words, const std::optional<Cells>& solution,
                      Faults& faults) {
    const QString& key = DataFileKeys::Words;
    const GridWords grid(letters, columns, rows);
    std::vector<std::vector<Cells>> choices;
    bool allFound = true;
    for (const QString& word : words) {
        std::vector<Cells> places = grid.Occurrences(word);
        if (places.empty()) {
            faults.push_back({puzzle.section, key, Say(11333).arg(Quoted(word))});
            allFound = false;
            continue;
        }
        if (places.size() > 1) {
            QStringList where;
            for (const Cells& place : places)
                where += NumberList(place).replace(QStringLiteral(", "), QStringLiteral("-"));
            faults.push_back({puzzle.section, key,
                              Say(11334).arg(Quoted(word), QString::number(places.size()),
                                             where.join(QStringLiteral("; ")))});
        }
        choices.push_back(std::move(places));
    }
    // A word that is not there leaves its cells unknown: comparing would
    // only blame the solution for it.
    if (allFound && solution)
        CompareSolution(puzzle, choices, *solution, faults);
}

// The checker reads one file puzzle by puzzle: one reader keeps its parse
// for as long as the file is unchanged, instead of parsing it per value.
const IniFileReader& Reader() {
    static const IniFileReader reader;
    return reader;
}

QString TitleOf(const QString& path, int number) {
    return PuzzleFile(Reader(), path).Title(number);
}

// Gaps in the numbering: the chooser lists puzzles from 1 up to the first
// number without a title, so everything after it is hidden. Faults of
// numbers that have no section are kept by number.
void CheckNumbering(const QString& path, const std::set<int>& numbers,
                    std::map<QString, Faults>& bySection, std::map<int, Faults>& missing) {
    if (numbers.empty())
        missing[1].push_back({QStringLiteral("1"), DataFileKeys::Title, Say(11315)});
    const int last = numbers.empty() ? 0 : *numbers.rbegin();
    for (int number = 1; number <= last; ++number) {
        const bool exists = numbers.count(number) > 0;
        if (exists && !TitleOf(path, number).isEmpty())
            continue;
        if (!exists && number > 1 && !numbers.count(number - 1))
            continue; // one line for a run of missing numbers
        const std::set<int> hidden(numbers.lower_bound(number), numbers.end());
        const QString section = QString::number(number);
        const PuzzleFault fault{section, DataFileKeys::Title,
                                Say(exists ? 11311 : 11310).arg(NumberList(hidden))};
        (exists ? bySection[section] : missing[number]).push_back(fault);
    }
}

void Append(Faults& all, const Faults& more) {
    all.insert(all.end(), more.begin(), more.end());
}

// What stands outside any section first, then section by section in file
// order, a missing number's fault before the section that follows it.
Faults InFileOrder(const DataFileScan& scan, const Faults& outside,
                   std::map<QString, Faults>& bySection, std::map<int, Faults>& missing) {
    Faults all = outside;
    for (const DataFileScan::Section& section : scan.Sections()) {
        const int number = PuzzleChecker::PuzzleNumber(section.name);
        while (number > 0 && !missing.empty() && missing.begin()->first < number) {
            Append(all, missing.begin()->second);
            missing.erase(missing.begin());
        }
        const auto found = bySection.find(section.name);
        if (found != bySection.end()) {
            Append(all, found->second);
            bySection.erase(found);
        }
    }
    for (const auto& [number, faults] : missing)
        Append(all, faults);
    return all;
}

} // namespace

int PuzzleChecker::PuzzleNumber(const QString& section) {
    static const QRegularExpression canonical(QStringLiteral("^[1-9][0-9]{0,8}$"));
    return canonical.match(section).hasMatch() ? section.toInt() : 0;
}

PuzzleFields PuzzleChecker::ReadPuzzle(const QString& path, const QString& section) {
    return PuzzleFile(Reader(), path).Fields(section);
}

std::vector<PuzzleFault> PuzzleChecker::CheckPuzzle(const PuzzleFields& puzzle) {
    Faults faults;
    CheckEncodingOfValues(puzzle, faults);
    const std::optional<qint32> columns =
        Dimension(puzzle, puzzle.columns, DataFileKeys::Columns, faults);
    const std::optional<qint32> rows = Dimension(puzzle, puzzle.rows, DataFileKeys::Rows, faults);
    if (!columns || !rows)
        return faults;
    if (!PuzzleRules::SizeFits(*columns, *rows)) {
        faults.push_back(
            {puzzle.section, DataFileKeys::Columns, Say(11321).arg(*columns).arg(*rows)});
        return faults;
    }
    const QString letters = PuzzleRules::Composed(puzzle.letters);
    const QString words = PuzzleRules::Composed(puzzle.words);
    CheckLetters(puzzle, letters, *columns, *rows, faults);
    const QStringList list = CheckWordList(puzzle, words, faults);
    const std::optional<Cells> solution = CheckSolution(puzzle, *columns * *rows, faults);
    CheckWordsInGrid(puzzle, letters, *columns, *rows, list, solution, faults);
    return faults;
}

std::vector<PuzzleFault> PuzzleChecker::CheckFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{QString(), QString(), Say(11302).arg(path, file.errorString())}};
    const DataFileScan scan = DataFileScan::Of(file.readAll());

    Faults outside; // lines before the first section
    std::map<QString, Faults> bySection;
    std::set<std::pair<QString, QString>> nulKeys; // their U+FFFD is the NUL's
    for (const DataFileScan::BadLine& bad : scan.BadLines()) {
        PuzzleFault fault{bad.section, bad.key, Say(bad.nul ? 11353 : 11350).arg(bad.line),
                          bad.line};
        (bad.section.isEmpty() ? outside : bySection[bad.section]).push_back(fault);
        if (bad.nul)
            nulKeys.insert({bad.section, bad.key});
    }
    std::set<int> numbers;
    for (const DataFileScan::Section& section : scan.Sections()) {
        const QString bracketed = QStringLiteral("[%1]").arg(section.name);
        if (section.repeated)
            bySection[section.name].push_back(
                {section.name, bracketed, Say(11313).arg(section.line)});
        else if (PuzzleNumber(section.name) > 0)
            numbers.insert(PuzzleNumber(section.name));
        else if (section.name.contains(QRegularExpression(QStringLiteral("^[+-]?[0-9]+$"))))
            bySection[section.name].push_back({section.name, bracketed, Say(11312)});
    }
    for (const DataFileScan::Key& key : scan.Keys()) {
        if (key.repeated && PuzzleNumber(key.section) > 0)
            bySection[key.section].push_back(
                {key.section, key.name, Say(11314).arg(key.line), key.line});
    }
    std::map<int, Faults> missing;
    CheckNumbering(path, numbers, bySection, missing);
    for (int number : numbers) {
        Faults& faults = bySection[QString::number(number)];
        const Faults found = CheckPuzzle(ReadPuzzle(path, QString::number(number)));
        for (const PuzzleFault& fault : found)
            if (!nulKeys.count({fault.puzzle, fault.key}) || fault.what != Say(11352))
                faults.push_back(fault);
    }

    return InFileOrder(scan, outside, bySection, missing);
}
