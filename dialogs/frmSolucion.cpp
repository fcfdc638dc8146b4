#include "dialogs/frmSolucion.h"

#include "board/ctlCuadricula.h"
#include "outside/AppServices.h"
#include "outside/Conversions.h"
#include "outside/WindowServices.h"

#include <QPushButton>
#include <QTimer>
#include <cmath>
#include <limits>

namespace {
const char* const source = "frmSolucion.FitSolutionWindow";

// How often and how long to look for the window manager's frame once the
// window is shown; without a window manager none ever comes.
constexpr int FrameWatchInterval = 20;
constexpr int FrameWatchTries = 100;

// The layout is 32-bit arithmetic: a result out of range is an overflow.
qint32 Checked(qint64 value) {
    if (value > std::numeric_limits<qint32>::max() || value < std::numeric_limits<qint32>::min())
        throw AppError(ErrorNumber::Overflow, QString::fromLatin1(source),
                       AppServices().GetMessage(11601));
    return static_cast<qint32>(value);
}
} // namespace

frmSolucion::frmSolucion(QWidget* parent)
    : QDialog(parent), ctlSolucion_(new ctlCuadricula(this)), cmdCerrar_(new QPushButton(this)) {
    setObjectName(QStringLiteral("frmSolucion"));
    ctlSolucion_->setObjectName(QStringLiteral("ctlSolucion"));
    cmdCerrar_->setObjectName(QStringLiteral("cmdCerrar"));

    const WindowServices windows;
    const int tx = windows.TwipsPerPixelX(), ty = windows.TwipsPerPixelY();
    resize(static_cast<int>(std::lround(5025.0 / tx)), static_cast<int>(std::lround(3075.0 / ty)));
    windows.MoveTwips(ctlSolucion_, 60, 90, 4905, 2385);
    windows.MoveTwips(cmdCerrar_, 1920, 2580, 1155, 405);

    // Enter and Esc both close: the button is the default one, and Esc
    // rejects the dialog. The board passes both keys on to the window.
    cmdCerrar_->setDefault(true);
    cmdCerrar_->setAutoDefault(false);
    setTabOrder(ctlSolucion_, cmdCerrar_);
    connect(cmdCerrar_, &QPushButton::clicked, this, &frmSolucion::cmdCerrar_Click);
}

void frmSolucion::Design() {
    FitSolutionWindow();
    RefitOnceFramed();
    exec();
}

// A window manager frames the window only once it is on the screen. The
// first layout counts the frame of a window it has framed already; should
// the real frame differ, the window is laid out again with it, so it never
// reaches past the work area. The frame counts once it reads the same twice.
void frmSolucion::RefitOnceFramed() {
    auto* watch = new QTimer(this);
    watch->setInterval(FrameWatchInterval);
    connect(watch, &QTimer::timeout, this,
            [this, watch, tries = FrameWatchTries, seen = QSize(-1, -1)]() mutable {
                if (WindowServices().IsFramed(this)) {
                    const QSize frame = frameGeometry().size() - geometry().size();
                    if (frame == seen) {
                        if (frame != fittedFrame_)
                            FitSolutionWindow();
                        watch->stop();
                        watch->deleteLater();
                        return;
                    }
                    seen = frame;
                }
                if (--tries <= 0) {
                    watch->stop();
                    watch->deleteLater();
                }
            });
    watch->start();
}

// Sizes the window to the board within the work area, leaving room for
// the grid's own scroll bar on the side that does not fit, and centres the
// close button under the board. A failure is told to the player and the
// window shows as far as it got.
void frmSolucion::FitSolutionWindow() {
    const AppServices app;
    try {
        // Made on the screen first, the window knows its frame where the
        // platform can tell it before showing.
        winId();
        const WindowServices windows;
        const WindowMetrics outer = windows.GetWindowSize(this);
        const WindowMetrics client = windows.GetClientSize(this);
        const WindowMetrics area = windows.GetWorkArea();
        const int tx = windows.TwipsPerPixelX(), ty = windows.TwipsPerPixelY();

        const qint32 frameWidth = Checked(qint64{outer.width} - client.width);
        const qint32 frameHeight = Checked(qint64{outer.height} - client.height);
        fittedFrame_ = QSize(frameWidth, frameHeight);
        const qint32 wantedWidth = Checked(qint64{frameWidth} + ctlSolucion_->GetGridWidth());
        const qint32 buttonTwips = Checked(qint64{cmdCerrar_->height()} * ty);
        const qint32 buttonStrip = Conversions::ToInteger32(
            (static_cast<double>(buttonTwips) + 120.0) / ty, QString::fromLatin1(source));
        const qint32 wantedHeight =
            Checked(qint64{ctlSolucion_->GetGridHeight()} + frameHeight + buttonStrip);

        const bool widthFits = wantedWidth <= area.width;
        const bool heightFits = wantedHeight <= area.height;
        qint32 width = area.width;
        qint32 height = area.height;
        if (widthFits && heightFits) {
            width = wantedWidth;
            height = wantedHeight;
        } else if (widthFits) {
            width =
                qMin(Checked(qint64{wantedWidth} + windows.GetScrollBarSize(false)), area.width);
        } else if (heightFits) {
            height =
                qMin(Checked(qint64{wantedHeight} + windows.GetScrollBarSize(true)), area.height);
        }

        // Never so narrow that the title is cut; the board then stands in
        // the middle.
        const qint32 boardWidth = Checked(qint64{width} - frameWidth);
        width = qMax(width, qMin(windows.GetTitleWidth(this), area.width));
        const qint32 clientWidth = Checked(qint64{width} - frameWidth);
        const qint32 boardHeight = Checked(qint64{height} - frameHeight - buttonStrip);
        windows.PlaceWindow(this, width, height);

        windows.MoveTwips(ctlSolucion_, Checked(qint64{clientWidth - boardWidth} / 2 * tx), 0,
                          Checked(qint64{boardWidth} * tx), Checked(qint64{boardHeight} * ty));

        const qint32 outerTwipsWidth = Checked(qint64{windows.GetWindowSize(this).width} * tx);
        const qint32 buttonTwipsWidth = Checked(qint64{cmdCerrar_->width()} * tx);
        const qint32 buttonLeft = Conversions::ToInteger32(
            outerTwipsWidth / 2.0 - buttonTwipsWidth / 2.0, QString::fromLatin1(source));
        const qint32 boardTwipsHeight = Checked(qint64{ctlSolucion_->height()} * ty);
        windows.MoveTwips(cmdCerrar_, buttonLeft, Checked(qint64{boardTwipsHeight} + 60),
                          buttonTwipsWidth, buttonTwips);
    } catch (const AppError& error) {
        app.ReportError(error, QString(), -1, -1, QString());
    }
}

void frmSolucion::cmdCerrar_Click() {
    accept();
}
