#pragma once

#include <QtGlobal>
#include <optional>

class QFile;
class QString;

// What tells a changed file without reading it: its file number, size, and
// modified and changed times. A rewrite changes its size or times (to the
// nanosecond where the system keeps them), a replacement its number.
class FileStamp {
public:
    FileStamp(qint64 number, qint64 size, qint64 modified, qint64 changed)
        : number_(number), size_(size), modified_(modified), changed_(changed) {}

    // The file by its name now; none when there is no such file.
    static std::optional<FileStamp> Of(const QString& path);
    // The open file now, or none once it has no name left (replaced or
    // deleted). Asking the open file costs far less than looking its name
    // up again; where an open file cannot be asked, its name is.
    static std::optional<FileStamp> Of(const QFile& open);

    bool operator==(const FileStamp&) const = default;

private:
    qint64 number_, size_, modified_, changed_;
};
