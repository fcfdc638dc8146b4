#pragma once

#include <QString>
#include <optional>

// A second, deliberately plain reading of the profile rules the data file
// was written for, to hold the program's reader against: it scans the text
// from the top for every look-up. Only for text that was valid UTF-8; for
// other bytes there is no answer. Text with a NUL is no text: nothing in it.
class PlainProfileReader {
public:
    explicit PlainProfileReader(QByteArrayView bytes);

    // nullopt: the bytes were not UTF-8, so this reader does not judge them.
    std::optional<QString> Value(const QString& section, const QString& key) const;

private:
    std::optional<QString> text_;
};
