#include "outside/ProgramResources.h"

#include "outside/AppError.h"
#include "outside/MessageCatalogue.h"

#include <QGuiApplication>

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

// The version drawn for the screen's density (the 2× one also serves 1.5×,
// slightly reduced), marked so that it keeps the picture's logical size.
QPixmap ForScreen(const QString& name, const QString& extension, Kind kind, int id) {
    const qreal density = qApp ? qApp->devicePixelRatio() : 1.0;
    const int scale = density > 2.0 ? 3 : density > 1.0 ? 2 : 1;
    if (scale == 1)
        return Load(QStringLiteral(":/resources/%1.%2").arg(name, extension), kind, id);
    QPixmap pixmap = Load(QStringLiteral(":/resources/%1@%2x.png").arg(name).arg(scale), kind, id);
    pixmap.setDevicePixelRatio(scale);
    return pixmap;
}
} // namespace

QPixmap ProgramResources::Bitmap(int id) {
    if (id != 3000)
        Missing(BitmapKind, id);
    return ForScreen(QStringLiteral("background"), QStringLiteral("bmp"), BitmapKind, id);
}

QPixmap ProgramResources::Icon(int id) {
    if (id != 2012)
        Missing(IconKind, id);
    return ForScreen(QStringLiteral("about"), QStringLiteral("png"), IconKind, id);
}

QCursor ProgramResources::Cursor(int id) {
    if (id != 1000)
        Missing(CursorKind, id);
    // The hot spot, the fingertip, is in the picture's logical pixels.
    return QCursor(ForScreen(QStringLiteral("link-pointer"), QStringLiteral("png"), CursorKind, id),
                   10, 1);
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
