#include "outside/ProgramResources.h"

#include "outside/AppError.h"
#include "outside/MessageCatalogue.h"

namespace {
// The kind of resource is the number of its catalogue text.
enum Kind { BitmapKind = 11609, IconKind = 11610, CursorKind = 11611 };

[[noreturn]] void Missing(Kind kind, int id) {
    throw AppError(ErrorNumber::FileNotFound, QStringLiteral("ProgramResources"),
                   MessageCatalogue::Text(kind).arg(id));
}

QPixmap Load(const QString& path, Kind kind, int id) {
    QPixmap pixmap(path);
    if (pixmap.isNull())
        Missing(kind, id);
    return pixmap;
}
} // namespace

QPixmap ProgramResources::Bitmap(int id) {
    if (id != 3000)
        Missing(BitmapKind, id);
    return Load(QStringLiteral(":/resources/background.bmp"), BitmapKind, id);
}

QPixmap ProgramResources::Icon(int id) {
    if (id != 2012)
        Missing(IconKind, id);
    return Load(QStringLiteral(":/resources/about.png"), IconKind, id);
}

QCursor ProgramResources::Cursor(int id) {
    if (id != 1000)
        Missing(CursorKind, id);
    return QCursor(Load(QStringLiteral(":/resources/link-pointer.png"), CursorKind, id), 10, 1);
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
