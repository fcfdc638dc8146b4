#pragma once

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <optional>

// The settings file as text: "[Section]" lines and "key=value" lines in the
// syntax QSettings has always written, so files of earlier versions read
// as they are. Every value is text, read back exactly as it was stored; Qt's
// lists and "@Type(...)" values are not interpreted. A line that cannot be
// read is skipped and recorded, so the store can set the file aside.
namespace StoreFileFormat {

// The format, registered with QSettings on first use.
QSettings::Format Format();

// What the last read of a file skipped: its bytes as read and the numbers
// of the damaged lines; kept until the file is read again or it is
// forgotten.
struct Damage {
    QByteArray bytes;
    QList<int> lines;
};
std::optional<Damage> FoundDamage(const QString& fileName);
void ForgetDamage(const QString& fileName);

} // namespace StoreFileFormat
