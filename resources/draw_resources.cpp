// Draws the program's pictures: the main window's background, the about
// window's icon, the link pointer and the program icons, the first three
// also at two and three times their size ("@2x", "@3x") for high-density
// screens. Run it from the
// source tree's resources folder to refresh them:
//   cmake --build build --target zelvora-draw-resources
//   QT_QPA_PLATFORM=offscreen build/zelvora-draw-resources resources
#include <QBuffer>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <cstdio>

namespace {
const QColor deepTeal(0x12, 0x5e, 0x6b);
const QColor sea(0x2a, 0x9d, 0x8f);
const QColor sand(0xf4, 0xe9, 0xcd);
const QColor coral(0xe7, 0x6f, 0x51);
const QColor ink(0x26, 0x32, 0x38);

void DrawTile(QPainter& painter, const QRectF& box, QChar letter, const QColor& face,
              const QColor& text) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 60));
    painter.drawRoundedRect(box.translated(1.5, 1.5), 4, 4);
    painter.setBrush(face);
    painter.drawRoundedRect(box, 4, 4);
    painter.setPen(text);
    painter.drawText(box, Qt::AlignCenter, QString(letter));
}

// The scaled versions are drawn, not enlarged: the same picture in finer pixels.
QImage Background(int scale) {
    QImage image(390 * scale, 75 * scale, QImage::Format_RGB888);
    QPainter painter(&image);
    painter.scale(scale, scale);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient gradient(0, 0, 390, 75);
    gradient.setColorAt(0, deepTeal);
    gradient.setColorAt(1, sea);
    painter.fillRect(QRect(0, 0, 390, 75), gradient);

    // Faint letters scattered behind, like a puzzle seen from afar.
    QRandomGenerator random(2026);
    QFont small(QStringLiteral("DejaVu Sans"), 9, QFont::Bold);
    painter.setFont(small);
    painter.setPen(QColor(255, 255, 255, 38));
    const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNÑOPQRSTUVWXYZ");
    for (int y = 9; y < 75; y += 14)
        for (int x = 6; x < 390; x += 13)
            painter.drawText(QPointF(x, y + 4), QString(alphabet[random.bounded(alphabet.size())]));

    // The name on tiles, one of them marked the way the board marks a letter.
    QFont tileFont(QStringLiteral("DejaVu Sans"), 17, QFont::Bold);
    painter.setFont(tileFont);
    const QString name = QStringLiteral("ZELVORA");
    const qreal size = 34, gap = 6;
    const qreal left = (390 - (name.size() * size + (name.size() - 1) * gap)) / 2;
    for (int i = 0; i < name.size(); ++i) {
        const QRectF box(left + i * (size + gap), 12, size, size);
        DrawTile(painter, box, name[i], i == 3 ? coral : sand, i == 3 ? Qt::white : ink);
    }
    QFont caption(QStringLiteral("DejaVu Sans"), 8);
    painter.setFont(caption);
    painter.setPen(QColor(255, 255, 255, 220));
    painter.drawText(QRectF(0, 52, 390, 20), Qt::AlignCenter, QStringLiteral("sopa de letras"));
    return image;
}

QImage Icon(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    painter.setPen(Qt::NoPen);
    painter.setBrush(deepTeal);
    painter.drawRoundedRect(QRectF(s * 0.03, s * 0.03, s * 0.94, s * 0.94), s * 0.18, s * 0.18);
    // A 3 × 3 board with a marked diagonal.
    const qreal cell = s * 0.26, start = s * 0.11;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(qMax(5, int(cell * 0.72)));
    font.setBold(true);
    painter.setFont(font);
    const QString letters = QStringLiteral("ZOLEVAÑRA");
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            const QRectF box(start + c * cell, start + r * cell, cell * 0.92, cell * 0.92);
            const bool marked = r == c;
            painter.setPen(Qt::NoPen);
            painter.setBrush(marked ? coral : sand);
            painter.drawRoundedRect(box, s * 0.04, s * 0.04);
            if (size >= 32) {
                painter.setPen(marked ? Qt::white : ink);
                painter.drawText(box, Qt::AlignCenter, QString(letters[r * 3 + c]));
            }
        }
    return image;
}

// A pointing hand for the about window's links; its hot spot is the
// fingertip at (10, 1).
QImage LinkPointer(int scale) {
    QImage image(32 * scale, 32 * scale, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale, scale);
    QPainterPath hand;
    hand.moveTo(8, 3);
    hand.cubicTo(8, 0.5, 12, 0.5, 12, 3);
    hand.lineTo(12, 12);
    hand.cubicTo(12, 10, 16, 10, 16, 12.5);
    hand.cubicTo(16, 10.5, 20, 10.5, 20, 13);
    hand.cubicTo(20, 11.5, 24, 11.5, 24, 14);
    hand.lineTo(24, 21);
    hand.cubicTo(24, 26, 21, 29, 17, 29);
    hand.lineTo(13, 29);
    hand.cubicTo(10, 29, 8.5, 27, 7, 25);
    hand.lineTo(2.5, 18);
    hand.cubicTo(1.5, 16, 4, 14, 6, 16);
    hand.lineTo(8, 18.5);
    hand.closeSubpath();
    painter.setPen(QPen(Qt::black, 1.3));
    painter.setBrush(Qt::white);
    painter.drawPath(hand);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(QPointF(12, 12), QPointF(12, 18));
    painter.drawLine(QPointF(16, 12.5), QPointF(16, 18));
    painter.drawLine(QPointF(20, 13), QPointF(20, 18));
    return image;
}

bool Save(const QImage& image, const QString& path) {
    if (image.save(path))
        return true;
    std::fprintf(stderr, "could not write %s\n", qPrintable(path));
    return false;
}
// The Windows icon: one PNG image per size the shell asks for, from the
// taskbar's 16 to the 256 of large icon views, so none is a scaled copy.
bool SaveWindowsIcon(const QList<int>& sizes, const QString& path) {
    QList<QByteArray> images;
    for (int size : sizes) {
        QBuffer png;
        png.open(QIODevice::WriteOnly);
        Icon(size).save(&png, "PNG");
        images << png.data();
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
        return false;
    }
    QDataStream out(&file);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(0) << quint16(1) << quint16(sizes.size());
    quint32 offset = 6 + 16 * sizes.size();
    for (qsizetype i = 0; i < sizes.size(); ++i) {
        const quint8 side = sizes[i] >= 256 ? 0 : quint8(sizes[i]); // 0 stands for 256
        out << side << side << quint8(0) << quint8(0) << quint16(1) << quint16(32)
            << quint32(images[i].size()) << offset;
        offset += images[i].size();
    }
    for (const QByteArray& png : images)
        out.writeRawData(png.constData(), png.size());
    return out.status() == QDataStream::Ok && file.flush();
}
} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QDir target(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    bool ok = Save(Background(1), target.filePath(QStringLiteral("background.bmp")));
    ok = Save(Icon(32), target.filePath(QStringLiteral("about.png"))) && ok;
    ok = Save(LinkPointer(1), target.filePath(QStringLiteral("link-pointer.png"))) && ok;
    for (int scale : {2, 3}) {
        const QString suffix = QStringLiteral("@%1x.png").arg(scale);
        ok = Save(Background(scale), target.filePath(QStringLiteral("background") + suffix)) && ok;
        ok = Save(Icon(32 * scale), target.filePath(QStringLiteral("about") + suffix)) && ok;
        ok = Save(LinkPointer(scale), target.filePath(QStringLiteral("link-pointer") + suffix)) &&
             ok;
    }
    for (int size : {16, 32, 48, 64, 128, 256})
        ok = Save(Icon(size), target.filePath(QStringLiteral("icons/zelvora-%1.png").arg(size))) &&
             ok;
    ok = SaveWindowsIcon({16, 20, 24, 32, 40, 48, 64, 256},
                         target.filePath(QStringLiteral("windows/zelvora.ico"))) &&
         ok;
    return ok ? 0 : 1;
}
