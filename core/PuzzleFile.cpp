#include "core/PuzzleFile.h"

#include "core/DataFileKeys.h"
#include "core/PuzzleRules.h"
#include "outside/IniFileReader.h"

#include <utility>

PuzzleFile::PuzzleFile(const IniFileReader& reader, QString path)
    : reader_(reader), path_(std::move(path)) {}

// The long values are read with the length the classic reader was given.
PuzzleFields PuzzleFile::Fields(const QString& section) const {
    const auto value = [&](const QString& key, int size) {
        return reader_.GetValue(section, key, path_, size);
    };
    return {section,
            value(DataFileKeys::Columns, 0),
            value(DataFileKeys::Rows, 0),
            value(DataFileKeys::Title, 0),
            value(DataFileKeys::Letters, 1000),
            value(DataFileKeys::Words, 1000),
            value(DataFileKeys::Solution, 1000)};
}

Puzzle PuzzleFile::Read(qint32 number, const QString& source) const {
    return PuzzleRules::Checked(Fields(QString::number(number)), path_, source);
}

QString PuzzleFile::Title(qint32 number) const {
    return reader_.GetValue(QString::number(number), DataFileKeys::Title, path_, 0);
}

QStringList PuzzleFile::Titles() const {
    QStringList titles;
    for (qint32 number = 1;; ++number) {
        const QString title = Title(number);
        if (title.isEmpty())
            return titles;
        titles << title;
    }
}
