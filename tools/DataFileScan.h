#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>
#include <vector>

// The layout of a data file's raw bytes, line by line: which sections and
// keys stand where, and which lines are damaged. The values themselves are
// read through the game's reader; this only sees what the reader hides
// (repeated sections and keys, lines in another encoding).
class DataFileScan {
public:
    struct Section {
        QString name; // trimmed, as written
        int line = 0;
        bool repeated = false; // an earlier section has this name
    };
    struct Key {
        QString section; // the section it stands in, as written
        QString name;
        int line = 0;
        bool repeated = false; // an earlier line of its section has this key
    };
    // A line that the file's own encoding cannot hold, or that holds NUL
    // bytes (the game reads each as U+FFFD; the zeros at the end it skips).
    struct BadLine {
        QString section;
        QString key;
        int line = 0;
        bool nul = false;
    };

    static DataFileScan Of(const QByteArray& bytes);

    const std::vector<Section>& Sections() const { return sections_; }
    const std::vector<Key>& Keys() const { return keys_; }
    const std::vector<BadLine>& BadLines() const { return badLines_; }

private:
    void ScanLine(QStringView text, int line, bool damaged, bool nul);

    std::vector<Section> sections_;
    std::vector<Key> keys_;
    std::vector<BadLine> badLines_;
    QSet<QString> sectionNames_; // case-folded
    QSet<QString> keyNames_;     // case-folded "section\nkey"
    QString currentSection_;
    bool inSection_ = false;
    bool inRepeatedSection_ = false;
};
