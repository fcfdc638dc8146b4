// Starts Zelvora's main window (the same steps as modMain), an empty
// QMainWindow ("empty"), or a QMainWindow with a one-menu bar ("menu": the
// floor for a window that shows any text, which needs the font database),
// and ends the process at the window's first paint, printing the peak
// memory. bench/run.sh times whole launches of each.
#include "app/frmMain.h"
#include "app/modMain.h"
#include "outside/ProgramResources.h"
#include "outside/WindowServices.h"

#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <cstdio>
#include <cstring>
#include <sys/resource.h>
#include <unistd.h>

namespace {
class FirstPaint : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            rusage usage{};
            getrusage(RUSAGE_SELF, &usage);
            std::printf("peak_kb %ld\n", usage.ru_maxrss);
            std::fflush(stdout);
            _exit(0);
        }
        return false;
    }
};
} // namespace

int main(int argc, char** argv) {
    const bool empty = argc > 1 && std::strcmp(argv[1], "empty") == 0;
    const bool menu = argc > 1 && std::strcmp(argv[1], "menu") == 0;
    QApplication application(argc, argv);
    FirstPaint watcher;
    QWidget* window;
    if (empty) {
        window = new QMainWindow;
    } else if (menu) {
        auto* main = new QMainWindow;
        main->menuBar()->addMenu(QStringLiteral("&Opciones"))->addAction(QStringLiteral("&Salir"));
        main->setCentralWidget(new QWidget);
        window = main;
    } else {
        QApplication::setWindowIcon(ProgramResources::ProgramIcon());
        SharedServices::Windows().InitializeControls();
        window = new frmMain;
    }
    // The client area is what paints first in both windows.
    QWidget* client = empty ? window : static_cast<QMainWindow*>(window)->centralWidget();
    client->installEventFilter(&watcher);
    window->show();
    return QApplication::exec();
}
