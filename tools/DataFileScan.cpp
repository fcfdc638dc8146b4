#include "DataFileScan.h"

#include "outside/IniLine.h"

#include <algorithm>

namespace {

// Whether the text holds letters beyond ASCII outside its Windows-1252
// lines: then it shows that it is UTF-8.
bool HasUtf8Letters(const IniLine::Text& decoded) {
    qsizetype from = 0;
    const auto beyondAscii = [&](qsizetype end) {
        return std::any_of(decoded.text.begin() + from, decoded.text.begin() + end,
                           [](QChar c) { return c.unicode() >= 0x80; });
    };
    for (const auto& [start, end] : decoded.stray) {
        if (beyondAscii(start))
            return true;
        from = end;
    }
    return beyondAscii(decoded.text.size());
}

} // namespace

// The file's lines as the game reads them, numbered as an editor numbers
// them. A line the game reads as Windows-1252 is damaged when the file shows
// elsewhere that it is UTF-8 (a byte-order mark, or a line with UTF-8
// letters); a file wholly in Windows-1252, as old files were, is not.
DataFileScan DataFileScan::Of(const QByteArray& bytes) {
    const IniLine::Text decoded = IniLine::Decoded(bytes);
    const bool utf8File = decoded.utf8Mark || HasUtf8Letters(decoded);
    const QStringView text(decoded.text);
    DataFileScan scan;
    int number = 1;
    auto stray = decoded.stray.begin();
    for (qsizetype start = 0, end; start <= text.size(); start = end + 1) {
        end = IniLine::LineEnd(text, start);
        while (stray != decoded.stray.end() && stray->second <= start)
            ++stray;
        const QStringView line = text.sliced(start, end - start);
        const bool inStray = stray != decoded.stray.end() && stray->first <= start;
        scan.ScanLine(line, number, utf8File && inStray && !line.isEmpty(),
                      line.contains(QChar(0)));
        if (end < text.size() && text[end] == u'\n')
            ++number;
    }
    return scan;
}

void DataFileScan::ScanLine(QStringView text, int line, bool damaged, bool nul) {
    const IniLine read = IniLine::Of(text);
    QString key;
    if (read.kind == IniLine::Kind::Section) {
        const QString name = read.name.toString();
        const QString folded = name.toCaseFolded();
        const bool repeated = sectionNames_.contains(folded);
        sectionNames_.insert(folded);
        sections_.push_back({name, line, repeated});
        currentSection_ = name;
        inSection_ = true;
        inRepeatedSection_ = repeated;
    } else if (inSection_ && read.kind == IniLine::Kind::Key) {
        key = read.name.toString();
        // Keys of a repeated section are never read; the section itself is the fault.
        const QString folded = (currentSection_ + u'\n' + key).toCaseFolded();
        if (!inRepeatedSection_)
            keys_.push_back({currentSection_, key, line, keyNames_.contains(folded)});
        keyNames_.insert(folded);
    }
    if ((damaged || nul) && (badLines_.empty() || badLines_.back().line != line))
        badLines_.push_back({inSection_ ? currentSection_ : QString(), key, line, nul});
}
