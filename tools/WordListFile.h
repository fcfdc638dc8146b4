#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

// A puzzle's input as its author writes it, in UTF-8:
//
//   # lines starting with # are remarks; blank lines are skipped
//   Animales de la granja      <- the first line is the title
//   size 12x10                 <- optional: columns x rows
//   seed 7                     <- optional: the seed that makes this puzzle
//   vaca                       <- then one word per line
//   ñandú
struct WordListFile {
    QString title;
    std::optional<QSize> size;
    std::optional<std::uint32_t> seed;
    QStringList words;

    // Reads a file, or standard input for "-". Throws MakerRefusal naming
    // the file (and the line) when it cannot be read or understood.
    static WordListFile Read(const QString& path);
    static WordListFile Parse(const QByteArray& bytes, const QString& name);

    // "12x10" as 12 columns and 10 rows; nothing when it is not a size.
    static std::optional<QSize> ParseSize(const QString& text);
    // A whole number from 0 to 4294967295; nothing otherwise.
    static std::optional<std::uint32_t> ParseSeed(const QString& text);
};
