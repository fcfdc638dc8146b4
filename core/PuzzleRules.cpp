#include "core/PuzzleRules.h"

#include "core/DataFileKeys.h"
#include "core/PuzzleLimits.h"
#include "outside/AppError.h"
#include "outside/Conversions.h"
#include "outside/MessageCatalogue.h"

#include <QDir>

namespace {

qint32 CheckedDimension(const QString& text, const QString& key, const QString& section,
                        const QString& file, const QString& source) {
    try {
        return PuzzleRules::Dimension(text, source);
    } catch (const AppError& error) {
        throw AppError(error.Number(), error.Source(),
                       MessageCatalogue::Text(11614).arg(section, file, key, text.left(40)));
    }
}

void CheckSize(qint32 columns, qint32 rows, const QString& section, const QString& file,
               const QString& source) {
    if (!PuzzleRules::SizeFits(columns, rows))
        throw AppError(ErrorNumber::InvalidArgument, source,
                       MessageCatalogue::Text(11615)
                           .arg(section, file)
                           .arg(columns)
                           .arg(rows)
                           .arg(PuzzleLimits::MaxCells));
}

void CheckLetters(const QString& letters, const QString& section, const QString& file,
                  const QString& source) {
    for (qsizetype at = 0; at < letters.size(); ++at) {
        const auto wide = PuzzleRules::WideLetterAt(letters, at);
        if (wide)
            throw AppError(ErrorNumber::InvalidArgument, source,
                           MessageCatalogue::Text(11530)
                               .arg(section, QDir::toNativeSeparators(file), wide->text)
                               .arg(wide->start + 1));
    }
}

// Crossed-out words past the 99th could not be kept: such a puzzle is
// refused whole, as one of more cells than a cell list can name.
void CheckWords(const QString& words, const QString& section, const QString& file,
                const QString& source) {
    if (!PuzzleRules::WordsFit(words))
        throw AppError(ErrorNumber::InvalidArgument, source,
                       MessageCatalogue::Text(11616)
                           .arg(section, QDir::toNativeSeparators(file))
                           .arg(PuzzleRules::WordCount(words))
                           .arg(PuzzleLimits::MaxWords));
}

} // namespace

qint32 PuzzleRules::Dimension(const QString& text, const QString& source) {
    return Conversions::ToInteger32(text, source);
}

bool PuzzleRules::SizeFits(qint32 columns, qint32 rows) {
    return columns >= 1 && rows >= 1 && qint64{columns} * rows <= PuzzleLimits::MaxCells;
}

QString PuzzleRules::Composed(const QString& text) {
    return text.normalized(QString::NormalizationForm_C);
}

// Each cell shows one UTF-16 unit: composed letters fit, but a letter that
// stays longer is found at its first unit that is a surrogate or an accent
// of its own; it starts at the unit before an accent.
std::optional<PuzzleRules::WideLetter> PuzzleRules::WideLetterAt(const QString& letters,
                                                                 qsizetype at) {
    const QChar letter = letters[at];
    if (letter.isHighSurrogate())
        return WideLetter{at, letters.mid(at, 2)};
    if (at > 0 && letter.isLowSurrogate() && letters[at - 1].isHighSurrogate())
        return std::nullopt; // the second half of a letter found before
    if (!letter.isMark() && !letter.isLowSurrogate())
        return std::nullopt;
    const qsizetype start = at > 0 ? at - 1 : 0;
    return WideLetter{start, letters.mid(start, 2)};
}

qsizetype PuzzleRules::WordCount(const QString& words) {
    return words.isEmpty() ? 0 : words.count(QLatin1Char(' ')) + 1;
}

bool PuzzleRules::WordsFit(const QString& words) {
    return WordCount(words) <= PuzzleLimits::MaxWords;
}

Puzzle PuzzleRules::Checked(const PuzzleFields& fields, const QString& file,
                            const QString& source) {
    const QString& section = fields.section;
    Puzzle puzzle;
    puzzle.columns = CheckedDimension(fields.columns, DataFileKeys::Columns, section, file, source);
    puzzle.rows = CheckedDimension(fields.rows, DataFileKeys::Rows, section, file, source);
    CheckSize(puzzle.columns, puzzle.rows, section, file, source);
    puzzle.title = fields.title;
    puzzle.letters = Composed(fields.letters);
    CheckLetters(puzzle.letters, section, file, source);
    puzzle.words = fields.words;
    CheckWords(puzzle.words, section, file, source);
    puzzle.solution = fields.solution;
    return puzzle;
}
