#include "outside/ProgramResources.h"

#include "outside/AppError.h"

namespace {
[[noreturn]] void Missing(const char* kind, int id) {
    throw AppError(
        ErrorNumber::FileNotFound, QStringLiteral("ProgramResources"),
        QStringLiteral("The program has no %1 resource %2").arg(QLatin1String(kind)).arg(id));
}

QPixmap Load(const QString& path, const char* kind, int id) {
    QPixmap pixmap(path);
    if (pixmap.isNull())
        Missing(kind, id);
    return pixmap;
}
} // namespace

QPixmap ProgramResources::Bitmap(int id) {
    if (id != 3000)
        Missing("bitmap", id);
    return Load(QStringLiteral(":/resources/background.bmp"), "bitmap", id);
}

QPixmap ProgramResources::Icon(int id) {
    if (id != 2012)
        Missing("icon", id);
    return Load(QStringLiteral(":/resources/about.png"), "icon", id);
}

QCursor ProgramResources::Cursor(int id) {
    if (id != 1000)
        Missing("cursor", id);
    return QCursor(Load(QStringLiteral(":/resources/link-pointer.png"), "cursor", id), 10, 1);
}

// The window needs only the small sizes; the large ones are for the
// desktop's icon theme and would cost start-up time to decode.
QIcon ProgramResources::ProgramIcon() {
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addFile(QStringLiteral(":/resources/icons/zelvora-%1.png").arg(size),
                     QSize(size, size));
    return icon;
}
