#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <map>

// The settings file as text: "[Section]" lines and "key=value" lines in the
// syntax QSettings has always written, so files of earlier versions read as
// they are and Qt can read ours. Keys are "Section/part/.../name", of
// letters, digits, '_', '-' and '.' only. Every value is text, read back
// exactly as it was stored; Qt's lists and "@Type(...)" values are not
// interpreted. Files are written as UTF-8; a file an editor saved as UTF-16
// or UTF-32 is read by its byte-order mark.
namespace StoreFileFormat {

using Values = std::map<QString, QString>;

struct Contents {
    Values values;
    // Some line could not be read and was skipped.
    bool damaged = false;
};

Contents Parse(QByteArrayView bytes);
QByteArray Text(const Values& values);

} // namespace StoreFileFormat
