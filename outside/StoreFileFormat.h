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

// The bytes of the file as read, when its last read skipped damaged lines;
// kept until it is read again sound or the damage is forgotten.
std::optional<QByteArray> DamagedBytes(const QString& fileName);
void ForgetDamage(const QString& fileName);

} // namespace StoreFileFormat
