#include "outside/WindowServices.h"

#include "core/Twips.h"
#include "outside/AppError.h"
#include "outside/DialogOwner.h"
#include "outside/MessageCatalogue.h"
#include "outside/WindowHandle.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QPalette>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace {
std::optional<QRect>& WorkAreaStandIn() {
    static std::optional<QRect> area;
    return area;
}

QWidget* Resolve(qint32 handle, const char* source) {
    QWidget* widget = WindowHandle::Widget(handle);
    if (!widget)
        throw AppError(ErrorNumber::InvalidArgument, QString::fromUtf8(source),
                       MessageCatalogue::Text(11607).arg(handle));
    return widget;
}

WindowMetrics FromRect(const QRect& rect) {
    return {rect.left(), rect.top(), rect.width(), rect.height()};
}

QMargins OwnFrame(const QWidget* window) {
    const QRect outer = window->frameGeometry();
    const QRect inner = window->geometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

// While a window manager is framing a window, the frame can read as
// something no frame is.
bool Framed(const QMargins& frame) {
    return !frame.isNull() && frame.left() >= 0 && frame.top() >= 0 && frame.right() >= 0 &&
           frame.bottom() >= 0;
}

bool Decorated(const QWidget* window) {
    const Qt::WindowType type = window->windowType();
    return (type == Qt::Window || type == Qt::Dialog) &&
           !window->windowFlags().testFlag(Qt::FramelessWindowHint);
}

// The frame a window manager puts around a window is known only once it has
// framed the window on the screen. Until then a window of ours it has framed
// already stands in: a desktop's manager frames the windows of a program
// alike, and without one every frame is empty anyway.
QMargins FrameOf(const QWidget* window) {
    if (!window->isWindow())
        return {};
    const QMargins own = OwnFrame(window);
    if (Framed(own) || !Decorated(window))
        return own;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (const QWidget* other : windows)
        if (other != window && other->isVisible() && Decorated(other) && Framed(OwnFrame(other)))
            return OwnFrame(other);
    return {};
}

int MenuBarHeight(const QMainWindow* window) {
    const QWidget* menu = window->menuWidget();
    if (!menu || menu->isHidden())
        return 0;
    if (menu->hasHeightForWidth())
        return menu->heightForWidth(window->width());
    return menu->sizeHint().height();
}

bool OnWayland() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

// Wayland tells a program nothing of the desktop's panels: the whole screen
// reads as free. A panel's height is left free then, so that a window the
// compositor places on what is really free fits it (a panel is 32 pixels
// high on GNOME and weston, 44 on KDE).
constexpr int UnknownPanelsHeight = 48;

QRect AvailableArea(const QWidget* window) {
    const QScreen* screen = window ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return QRect(0, 0, 1024, 768);
    const QRect available = screen->availableGeometry();
    if (OnWayland() && available == screen->geometry())
        return available.adjusted(0, UnknownPanelsHeight, 0, 0);
    return available;
}

// A marked cell must stand out from the board (1.5:1 is the least a player
// can tell at a glance; a little more leaves room for screens and eyes),
// and its letter must stay easy to read on it.
constexpr double MarkContrast = 1.8;
constexpr double LetterContrast = 4.5;
// Grid lines a player can still follow on the board.
constexpr double LineContrast = 1.5;
constexpr int MixSteps = 64;

// The colour of a marked cell: the palette's button face, moved towards the
// letters' colour until a mark shows on the board, but never so far that
// the letter on it gets hard to read. On a light palette this gives the
// classic silver face; on a dark one a grey lighter than the board.
QColor MarkedCellColour(const QPalette& palette) {
    const QColor board = palette.color(QPalette::Active, QPalette::Base);
    const QColor letters = palette.color(QPalette::Active, QPalette::Text);
    const QColor face = palette.color(QPalette::Active, QPalette::Button);
    QColor chosen = face;
    for (int step = 0; step <= MixSteps; ++step) {
        const QColor candidate = Mix(face, letters, static_cast<double>(step) / MixSteps);
        if (ContrastRatio(candidate, letters) < LetterContrast)
            break;
        chosen = candidate;
        if (ContrastRatio(candidate, board) >= MarkContrast)
            break;
    }
    return chosen;
}
} // namespace

QColor Mix(const QColor& from, const QColor& to, double share) {
    const auto channel = [share](int a, int b) {
        return static_cast<int>(std::lround(a + (b - a) * share));
    };
    return QColor(channel(from.red(), to.red()), channel(from.green(), to.green()),
                  channel(from.blue(), to.blue()));
}

QColor WithContrast(const QColor& colour, const QColor& background, const QColor& towards,
                    double least) {
    QColor candidate = colour;
    for (int step = 1; step <= MixSteps && ContrastRatio(candidate, background) < least; ++step)
        candidate = Mix(colour, towards, static_cast<double>(step) / MixSteps);
    return candidate;
}

double RelativeLuminance(const QColor& colour) {
    const auto linear = [](int value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.red()) + 0.7152 * linear(colour.green()) +
           0.0722 * linear(colour.blue());
}

double ContrastRatio(const QColor& one, const QColor& other) {
    const double a = RelativeLuminance(one) + 0.05;
    const double b = RelativeLuminance(other) + 0.05;
    return a > b ? a / b : b / a;
}

QColor ColourFromWindows(qint32 value) {
    const quint32 bits = static_cast<quint32>(value);
    return QColor(bits & 0xFF, (bits >> 8) & 0xFF, (bits >> 16) & 0xFF);
}

qint32 ColourToWindows(const QColor& colour) {
    return static_cast<qint32>(static_cast<quint32>(colour.red()) |
                               (static_cast<quint32>(colour.green()) << 8) |
                               (static_cast<quint32>(colour.blue()) << 16));
}

bool WindowServices::InitializeControls() {
    DialogOwner::Install();
    return true;
}

WindowMetrics WindowServices::GetWindowSize(QWidget* window) const {
    return FromRect(window->geometry().marginsAdded(FrameOf(window)));
}

bool WindowServices::IsFramed(QWidget* window) const {
    return window->isWindow() && window->isVisible() && Framed(OwnFrame(window));
}

WindowMetrics WindowServices::GetWindowSize(qint32 handle) const {
    return GetWindowSize(Resolve(handle, "WindowServices.GetWindowSize"));
}

WindowMetrics WindowServices::GetClientSize(QWidget* window) const {
    if (const auto* main = qobject_cast<const QMainWindow*>(window))
        return {0, 0, main->width(), main->height() - MenuBarHeight(main)};
    if (const auto* scrolling = qobject_cast<const QAbstractScrollArea*>(window)) {
        const QRect inside = scrolling->contentsRect();
        return {0, 0, inside.width(), inside.height()};
    }
    return {0, 0, window->width(), window->height()};
}

WindowMetrics WindowServices::GetClientSize(qint32 handle) const {
    return GetClientSize(Resolve(handle, "WindowServices.GetClientSize"));
}

WindowMetrics WindowServices::GetWorkArea() const {
    if (WorkAreaStandIn())
        return FromRect(*WorkAreaStandIn());
    return FromRect(AvailableArea(nullptr));
}

// The title is measured in a bold face of the program's font, as desktops
// draw it; the icon and three buttons take a square of the bar's height each.
int WindowServices::GetTitleWidth(QWidget* window) const {
    QFont bold = QApplication::font();
    bold.setBold(true);
    const int bar = std::max(QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight),
                             FrameOf(window).top());
    constexpr int BarSquares = 4;
    constexpr int Padding = 16;
    return QFontMetrics(bold).horizontalAdvance(window->windowTitle()) + BarSquares * bar + Padding;
}

int WindowServices::GetScrollBarSize(bool) const {
    return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
}

void WindowServices::PlaceWindow(QWidget* window, int width, int height) const {
    const QMargins frame = FrameOf(window);
    const QSize frameExtra(frame.left() + frame.right(), frame.top() + frame.bottom());
    const QSize before = window->size();
    if (width > 0 && height > 0)
        window->resize(width - frameExtra.width(), height - frameExtra.height());
    // On Wayland only the compositor moves a window: one that grew is
    // placed anew, where it fits, instead of running off the screen.
    const QSize after = window->size();
    if (window->isVisible() && (after.width() > before.width() || after.height() > before.height()))
        DialogOwner::ShowAnew(window);

    const WindowMetrics area = GetWorkArea();
    const QRect work(area.left, area.top, area.width, area.height);
    const QSize outer = window->size() + frameExtra;
    QPoint topLeft = window->frameGeometry().topLeft();
    if (!window->isVisible() && !window->testAttribute(Qt::WA_Moved))
        topLeft = work.center() - QPoint(outer.width() / 2, outer.height() / 2);
    // Keep the whole window on the work area, its top-left corner first.
    topLeft.setX(qMax(work.left(), qMin(topLeft.x(), work.right() + 1 - outer.width())));
    topLeft.setY(qMax(work.top(), qMin(topLeft.y(), work.bottom() + 1 - outer.height())));
    window->move(topLeft);
}

qint32 WindowServices::GetSystemColor(int index) const {
    const QPalette palette = QApplication::palette();
    switch (index) {
    case 5:
        return ColourToWindows(palette.color(QPalette::Active, QPalette::Base));
    case 8:
        return ColourToWindows(palette.color(QPalette::Active, QPalette::Text));
    case 10:
        return ColourToWindows(WithContrast(palette.color(QPalette::Active, QPalette::Mid),
                                            palette.color(QPalette::Active, QPalette::Base),
                                            palette.color(QPalette::Active, QPalette::Text),
                                            LineContrast));
    case 13:
        return ColourToWindows(palette.color(QPalette::Active, QPalette::Highlight));
    case 15:
        return ColourToWindows(MarkedCellColour(palette));
    default:
        throw AppError(ErrorNumber::InvalidArgument,
                       QStringLiteral("WindowServices.GetSystemColor"),
                       MessageCatalogue::Text(11608).arg(index));
    }
}

void WindowServices::CopyFont(const FontObject& source, FontObject& target) const {
    target = source;
}

int WindowServices::TwipsPerPixelX() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return Twips::PerPixel(screen ? screen->logicalDotsPerInchX() : 96.0);
}

int WindowServices::TwipsPerPixelY() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return Twips::PerPixel(screen ? screen->logicalDotsPerInchY() : 96.0);
}

void WindowServices::MoveTwips(QWidget* control, int left, int top, int width, int height) const {
    const int tx = TwipsPerPixelX();
    const int ty = TwipsPerPixelY();
    control->setGeometry(Twips::ToPixels(left, tx), Twips::ToPixels(top, ty),
                         Twips::ToPixels(width, tx), Twips::ToPixels(height, ty));
}

void WindowServices::MoveTwips(QWidget* control, const QRect& place) const {
    MoveTwips(control, place.x(), place.y(), place.width(), place.height());
}

QSize WindowServices::SizeFromTwips(int width, int height) const {
    return QSize(Twips::ToPixels(width, TwipsPerPixelX()),
                 Twips::ToPixels(height, TwipsPerPixelY()));
}

void WindowServices::SetWorkAreaStandIn(std::optional<QRect> area) {
    WorkAreaStandIn() = area;
}
