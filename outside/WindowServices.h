#pragma once

#include "outside/FontObject.h"

#include <QRect>
#include <QtGlobal>
#include <optional>

class QWidget;

// Four numbers describing a window or an area: left, top, width, height,
// in pixels.
struct WindowMetrics {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Window metrics and placement, system colours and fonts.
class WindowServices {
public:
    // Prepares the window controls; always succeeds here.
    bool InitializeControls();

    // Outer size: the frame, the title bar and the menu bar included. Before
    // the window manager has framed a window, the frame of one of our windows
    // it has framed already is counted.
    WindowMetrics GetWindowSize(QWidget* window) const;
    WindowMetrics GetWindowSize(qint32 handle) const;
    // True once the window is on the screen with a frame of its own (never
    // where no window manager frames windows).
    bool IsFramed(QWidget* window) const;
    // Client size: what is inside the frame, without the menu bar, and for
    // a scrolling control without its border and scroll bars.
    WindowMetrics GetClientSize(QWidget* window) const;
    WindowMetrics GetClientSize(qint32 handle) const;
    // The screen's work area (the screen less panels and docks).
    WindowMetrics GetWorkArea() const;

    // The least outer width that shows the window's whole title beside the
    // title bar's icon and buttons.
    int GetTitleWidth(QWidget* window) const;

    // false: width of a vertical scroll bar; true: height of a horizontal one.
    int GetScrollBarSize(bool horizontal) const;

    // Non-zero sizes become the window's outer size; the window is then kept
    // on the work area.
    void PlaceWindow(QWidget* window, int width, int height) const;

    // Windows system colours 5, 8, 10, 13 and 15 (0x00BBGGRR), from the palette.
    // 10, the active border, is the grid lines' default: the palette's mid
    // tone, moved towards the text colour where it would vanish on the board.
    // 15, the button face, is the default of marked cells: it is the palette's
    // button colour moved towards the text colour until it stands out from
    // the window background (5) while text (8) on it stays readable.
    qint32 GetSystemColor(int index) const;

    void CopyFont(const FontObject& source, FontObject& target) const;

    // Twips per pixel, rounded to whole numbers (15 on a 96-dpi screen).
    int TwipsPerPixelX() const;
    int TwipsPerPixelY() const;
    // Moves a control to a place given in twips.
    void MoveTwips(QWidget* control, int left, int top, int width, int height) const;
    void MoveTwips(QWidget* control, const QRect& place) const;
    // A window's client size given in twips, in pixels.
    QSize SizeFromTwips(int width, int height) const;

    // Tests stand in for the screen's work area; nullopt restores the real one.
    static void SetWorkAreaStandIn(std::optional<QRect> area);
};

// Conversions between Windows colour values (0x00BBGGRR) and Qt colours.
#include <QColor>
QColor ColourFromWindows(qint32 value);
qint32 ColourToWindows(const QColor& colour);

// Relative luminance (0 black to 1 white) and the contrast ratio of two
// colours (1 to 21), as the accessibility guidelines measure them.
double RelativeLuminance(const QColor& colour);
double ContrastRatio(const QColor& one, const QColor& other);
// The colour share of the way (0 to 1) from one colour to another.
QColor Mix(const QColor& from, const QColor& to, double share);
// colour as it is where it contrasts with background by least, otherwise
// moved towards towards until it does (or reaches it).
QColor WithContrast(const QColor& colour, const QColor& background, const QColor& towards,
                    double least);
