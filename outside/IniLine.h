#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <utility>
#include <vector>

// One line of an INI-style file as the classic profile reader sees it, and
// the text of such a file. The data-file reader, the settings file and the
// data-file checker all read their lines through here, so that a blank, a
// comment, a section or a stray byte is the same thing to each of them;
// what a format does with a value (quotes, escapes) stays its own.
struct IniLine {
    enum class Kind {
        Empty,   // nothing but blanks
        Comment, // ';' first
        Section, // "[name]", anything after the ']' ignored
        Key,     // "name=value"
        Other    // no '=' and no section: nothing the reader takes
    };

    Kind kind = Kind::Empty;
    QStringView text;  // the line without the blanks around it
    QStringView name;  // the section's or the key's, without blanks around
    QStringView value; // the key's, without blanks around, quotes kept

    static IniLine Of(QStringView line);

    // Besides spaces and tabs, the vertical tab, the form feed and the
    // Ctrl-Z that old editors leave at a file's end are blanks.
    static bool IsBlank(QChar c);
    static QStringView Trimmed(QStringView text);

    // Where the line that starts at `from` ends: at a CR, an LF, or the
    // text's end.
    static qsizetype LineEnd(QStringView text, qsizetype from);

    // A file's bytes as text. UTF-16 is read by its byte-order mark, and a
    // UTF-8 mark is dropped. Otherwise each line is UTF-8 when its bytes
    // are valid UTF-8 and Windows-1252 when not (the code page files were
    // written in before UTF-8), so one stray byte changes one line at most.
    struct Text {
        QString text;
        std::vector<std::pair<qsizetype, qsizetype>> stray; // 1252 lines, [start, end)
        bool utf8Mark = false;
    };
    static Text Decoded(QByteArrayView bytes);
};
