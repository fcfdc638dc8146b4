#pragma once

#include <QString>
#include <memory>

// Reads values of an INI-style data file with the rules of the classic
// profile reader: names compared without regard to case, blanks around
// names and values trimmed, one outer pair of quotes removed, ';' lines
// are comments, the first of duplicate sections or keys wins, and anything
// missing reads as the empty text.
//
// UTF-16 files are read by their byte-order mark. In a file without one,
// each line is UTF-8 when its bytes are valid UTF-8 and Windows-1252
// otherwise, so one stray byte changes one line at most. A NUL reads as
// U+FFFD in its line, and the zeros a crash leaves at the end are not read;
// a NUL before the first section marks a file that is not text at all.
//
// The reader keeps the file's parse for as long as the file is unchanged on
// disk: keep one reader to read many values cheaply.
class IniFileReader {
public:
    IniFileReader();
    ~IniFileReader();

    // size is accepted for the callers' sake: values come back whole.
    QString GetValue(const QString& section, const QString& key, const QString& file,
                     int size = 0) const;

    // Raises AppError when the file cannot be read at all (missing: 53; a
    // folder, no permission, not text: 75), naming the file and the reason.
    void CheckReadable(const QString& file) const;

private:
    struct Kept;
    const Kept& Current(const QString& file) const;

    mutable std::unique_ptr<Kept> kept_;
};
