// The program itself, with a player who opens puzzle 1 as soon as the window
// is up, marks its cells 2 and 3, crosses out its second word and prints
// "ready"; from then on it is the program waiting to be ended ("close"), or
// the player goes on to choose puzzle 2 ("switch") and prints "switched".
// The data file is in PROGRAM_FOLDER; the store under $XDG_CONFIG_HOME, as
// for the program. At the end it prints what the player was told, a line
// "told KIND TEXT" for each message, on one line.
//
//   closing_player PROGRAM_FOLDER close|switch

#include "app/frmMain.h"
#include "app/modMain.h"
#include "board/ctlCuadricula.h"
#include "outside/AppServices.h"
#include "outside/ctlGrid.h"
#include "support/ChooserDriver.h"
#include "support/StandInPerson.h"
#include "wordlist/ctlLista.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>

namespace {

bool switching = false;
StandInPerson* person = nullptr; // answers any message, so nothing waits

void Play() {
    frmMain* window = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets())
        window = window ? window : qobject_cast<frmMain*>(widget);
    if (!window || !ChooserDriver::ChooseFromMenu(window, 1)) {
        std::fputs("closing_player: could not open puzzle 1\n", stderr);
        QCoreApplication::exit(3);
        return;
    }
    emit window->Board()->Grid()->CellClick(2, 1);
    emit window->Board()->Grid()->CellClick(3, 1);
    window->WordList()->SeleccionarPalabra(1, 2);
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    if (switching && ChooserDriver::ChooseFromMenu(window, 2)) {
        std::fputs("switched\n", stdout);
        std::fflush(stdout);
    }
}

// Runs once the program's application object exists, before its window.
void StartPlaying() {
    static StandInPerson standIn;
    person = &standIn;
    QTimer::singleShot(0, Play);
}
Q_COREAPP_STARTUP_FUNCTION(StartPlaying)

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: closing_player PROGRAM_FOLDER close|switch\n", stderr);
        return 2;
    }
    AppServices::SetProgramFolder(QString::fromLocal8Bit(argv[1]));
    switching = QByteArray(argv[2]) == "switch";
    const int status = modMain(argc, argv);
    for (const StandInPerson::Asked& asked : person ? person->asked : QList<StandInPerson::Asked>())
        std::printf("told %s %s\n", qPrintable(asked.what),
                    qPrintable(QString(asked.text).replace(u'\n', u' ')));
    return status;
}
