#include "dialogs/frmSolucion.h"

#include "board/ctlCuadricula.h"
#include "core/SolutionWindowFit.h"
#include "outside/AppServices.h"
#include "outside/WindowServices.h"

#include <QPushButton>
#include <QTimer>

namespace {
// How often and how long to look for the window manager's frame once the
// window is shown; without a window manager none ever comes.
constexpr int FrameWatchInterval = 20;
constexpr int FrameWatchTries = 100;
} // namespace

frmSolucion::frmSolucion(QWidget* parent)
    : QDialog(parent), ctlSolucion_(new ctlCuadricula(this)), cmdCerrar_(new QPushButton(this)) {
    setObjectName(QStringLiteral("frmSolucion"));
    ctlSolucion_->setObjectName(QStringLiteral("ctlSolucion"));
    cmdCerrar_->setObjectName(QStringLiteral("cmdCerrar"));

    const WindowServices windows;
    resize(windows.SizeFromTwips(5025, 3075));
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

// Sizes the window to the board within the work area and centres the close
// button under the board. A failure is told to the player and the window
// shows as far as it got.
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
        fittedFrame_ = SolutionWindowFit::Frame(QSize(outer.width, outer.height),
                                                QSize(client.width, client.height));

        const SolutionWindowFit::Places places = SolutionWindowFit::Fit(
            {fittedFrame_, QSize(area.width, area.height),
             QSize(ctlSolucion_->GetGridWidth(), ctlSolucion_->GetGridHeight()),
             cmdCerrar_->height(), tx, ty, windows.GetScrollBarSize(false),
             windows.GetScrollBarSize(true), windows.GetTitleWidth(this)});
        windows.PlaceWindow(this, places.window.width(), places.window.height());
        windows.MoveTwips(ctlSolucion_, places.board);
        windows.MoveTwips(cmdCerrar_, SolutionWindowFit::CloseButton(
                                          windows.GetWindowSize(this).width, ctlSolucion_->height(),
                                          cmdCerrar_->size(), tx, ty));
    } catch (const AppError& error) {
        app.ReportError(error, QString(), -1, -1, QString());
    }
}

void frmSolucion::cmdCerrar_Click() {
    accept();
}
