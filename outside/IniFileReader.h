#pragma once

#include <QString>

// Reads values of an INI-style data file with the rules of the classic
// profile reader: names compared without regard to case, blanks around
// names and values trimmed, one outer pair of quotes removed, ';' lines
// are comments, the first of duplicate sections or keys wins, and anything
// missing reads as the empty text. UTF-8 and Windows-1252 files are both
// read. A file is parsed once and kept until it changes on disk.
class IniFileReader {
public:
    // size is accepted for the callers' sake: values come back whole.
    QString GetValue(const QString& section, const QString& key, const QString& file,
                     int size = 0) const;

    // Drops every parsed file (tests that rewrite a file within one second).
    static void ForgetParsedFiles();

    // How many times a file was read and parsed since the program started;
    // lets tests see that repeated lookups are served from the cache.
    static qint64 ParseCount();
};
