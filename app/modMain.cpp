#include "app/modMain.h"

#include "app/frmMain.h"
#include "outside/AppServices.h"
#include "outside/ProgramResources.h"
#include "outside/QtTranslations.h"
#include "outside/TerminationSignals.h"
#include "outside/WindowServices.h"

#include <QApplication>
#include <cstdio>
#include <memory>

namespace {
std::unique_ptr<WindowServices> sharedWindows;
std::unique_ptr<AppServices> sharedApp;

// Without a display Qt would abort with a trace about platform plugins;
// say plainly what is needed instead.
bool DisplayAvailable() {
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
#else
    return true;
#endif
}
} // namespace

WindowServices& SharedServices::Windows() {
    if (!sharedWindows)
        sharedWindows = std::make_unique<WindowServices>();
    return *sharedWindows;
}

AppServices& SharedServices::App() {
    if (!sharedApp)
        sharedApp = std::make_unique<AppServices>();
    return *sharedApp;
}

void SharedServices::Release() {
    sharedWindows.reset();
    sharedApp.reset();
}

int modMain(int argc, char** argv) {
    if (!DisplayAvailable()) {
        std::fprintf(stderr,
                     "Zelvora needs a graphical display, and none was found (DISPLAY and "
                     "WAYLAND_DISPLAY are not set).\n"
                     "Start it from a desktop session, or under a virtual display:\n"
                     "    xvfb-run -a %s\n",
                     argc > 0 ? argv[0] : "zelvora");
        return 2;
    }
    QApplication application(argc, argv);
    QApplication::setWindowIcon(ProgramResources::ProgramIcon());
    QtTranslations::Install();

    SharedServices::Windows();
    SharedServices::App();
    SharedServices::Windows().InitializeControls();
    // The window lives until the event loop has ended: ending the session
    // from inside a dialog must not delete it under that dialog's caller.
    std::unique_ptr<frmMain> window;
    try {
        window = std::make_unique<frmMain>();
        window->show();
    } catch (const AppError& error) {
        SharedServices::App().ReportError(error, QString(), -1, -1, QString());
        SharedServices::Release();
        return 1;
    }
    TerminationSignals termination;
    EndSessionOn(termination, *window);
    QObject::connect(&application, &QCoreApplication::aboutToQuit, window.get(),
                     &frmMain::EndSession);
    return QApplication::exec();
}

void EndSessionOn(TerminationSignals& termination, frmMain& window) {
    QObject::connect(&termination, &TerminationSignals::EndRequested, &window, [&window] {
        window.EndSession();
        // Leaves every event loop, a dialog's too.
        QCoreApplication::quit();
    });
}
