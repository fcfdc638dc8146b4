// The platform ending the program: a termination signal or the end of the
// desktop session runs the closing saves without the exit question, also
// while a dialog is open, and the real program then ends cleanly.

#include "app/frmMain.h"
#include "app/modMain.h"
#include "board/ctlCuadricula.h"
#include "outside/MessageCatalogue.h"
#include "outside/TerminationSignals.h"
#include "outside/ctlGrid.h"
#include "support/ChooserDriver.h"
#include "support/ModalDriver.h"
#include "support/StandInPerson.h"
#include "support/TestHome.h"
#include "wordlist/ctlLista.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <memory>
#include <optional>

#ifdef Q_OS_UNIX
#include <csignal>
#include <signal.h>
#include <sys/types.h>

namespace {

QString TwoPuzzles() {
    return PuzzleSection(1, "Uno", 3, 2, "SOLAXE", "SOL AXE", "001002003") +
           PuzzleSection(2, "Dos", 4, 4, "GATOXXXXPEZXXXXX", "GATO PEZ", "001002003004009010011");
}

// Runs the application's event loop, as the program does, until something
// quits it; a deadline quits it otherwise so the test cannot hang.
bool RunEventLoop(int deadlineMs = 10000) {
    bool timedOut = false;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, [&] {
        timedOut = true;
        QCoreApplication::quit();
    });
    deadline.start(deadlineMs);
    QApplication::exec();
    return !timedOut;
}

// Whether process `pid` has its own handler for `signal` (Linux).
std::optional<bool> CatchesSignal(qint64 pid, int signal) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return std::nullopt;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (signal - 1)) & 1;
    return std::nullopt;
}

} // namespace

class SessionEndTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestHome> home;

    static void ChooseRow(frmMain& window, int row) {
        QVERIFY(ChooserDriver::ChooseFromMenu(&window, row));
    }

    // Puzzle 2 with two marked cells and its second word crossed out.
    void PlayPuzzleTwo(frmMain& window) {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        ChooseRow(window, 2);
        emit window.Board()->Grid()->CellClick(1, 1);
        emit window.Board()->Grid()->CellClick(4, 1);
        window.WordList()->SeleccionarPalabra(1, 2);
    }

    void CheckPuzzleTwoKept() {
        QCOMPARE(home->Stored(2, "Save"), QStringLiteral("001004"));
        QCOMPARE(home->Stored(2, "Palabras"), QStringLiteral("02"));
    }

private slots:
    void init() {
        MessageCatalogue::PinLanguage(MessageCatalogue::Language::Spanish);
        home = std::make_unique<TestHome>();
        home->WriteDataFile(TwoPuzzles());
    }
    void cleanup() { home.reset(); }

    void endingTheSessionSavesWithoutTheQuestion() {
        StandInPerson person;
        frmMain window;
        PlayPuzzleTwo(window);
        if (QTest::currentTestFailed())
            return;
        window.EndSession();
        QVERIFY(!window.isVisible());
        QCOMPARE(person.Count("yesno"), 0);
        QCOMPARE(person.Count("error"), 0);
        CheckPuzzleTwoKept();
        // Saved once: a later close neither asks nor saves again.
        home->Store(2, "Save", "016");
        QVERIFY(window.close());
        window.EndSession();
        QCOMPARE(person.Count("yesno"), 0);
        QCOMPARE(home->Stored(2, "Save"), QStringLiteral("016"));
    }

    void aTerminationSignalEndsTheSession_data() {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGHUP") << SIGHUP;
        QTest::newRow("SIGINT") << SIGINT;
    }

    void aTerminationSignalEndsTheSession() {
        QFETCH(int, signal);
        StandInPerson person;
        frmMain window;
        PlayPuzzleTwo(window);
        if (QTest::currentTestFailed())
            return;
        TerminationSignals termination;
        QSignalSpy requests(&termination, &TerminationSignals::EndRequested);
        EndSessionOn(termination, window);
        QTimer::singleShot(0, [signal] { std::raise(signal); });
        QVERIFY2(RunEventLoop(), "the signal did not end the event loop");
        QCOMPARE(requests.count(), 1);
        QVERIFY(!window.isVisible());
        QCOMPARE(person.Count("yesno"), 0);
        CheckPuzzleTwoKept();
    }

    // The player left the chooser open; the session ends from inside its
    // event loop. The board still holds puzzle 2 and keeps its marks.
    void aSignalWhileTheChooserIsOpen() {
        StandInPerson person;
        frmMain window;
        PlayPuzzleTwo(window);
        if (QTest::currentTestFailed())
            return;
        TerminationSignals termination;
        EndSessionOn(termination, window);
        ModalDriver driver([](QWidget*) { std::raise(SIGTERM); });
        QTimer::singleShot(
            0, [&] { window.findChild<QAction*>("mnuOpcSeleccionarJuego")->trigger(); });
        QVERIFY2(RunEventLoop(), "the signal did not end the event loop");
        QVERIFY(driver.Acted());
        QVERIFY(!driver.TimedOut());
        QVERIFY(!window.isVisible());
        QCOMPARE(window.Board()->NumeroJuego(), 2);
        QCOMPARE(person.Count("yesno"), 0);
        CheckPuzzleTwoKept();
    }

    // The exit question is on screen (a real one) when the session ends:
    // the saves run once and the window closes, whatever the box returns.
    void aSignalWhileTheExitQuestionIsOpen() {
        frmMain window;
        {
            StandInPerson person;
            PlayPuzzleTwo(window);
        }
        if (QTest::currentTestFailed())
            return;
        TerminationSignals termination;
        EndSessionOn(termination, window);
        bool questionShown = false;
        ModalDriver driver([&](QWidget* modal) {
            questionShown = qobject_cast<QMessageBox*>(modal) != nullptr;
            std::raise(SIGTERM);
        });
        QTimer::singleShot(0, [&] { window.close(); });
        QVERIFY2(RunEventLoop(), "the signal did not end the event loop");
        QVERIFY(questionShown);
        QVERIFY(!window.isVisible());
        CheckPuzzleTwoKept();
        QVERIFY(!QApplication::activeModalWidget());
    }

    void handlersAreGivenBackAndIgnoredSignalsStayIgnored() {
        struct sigaction termBefore = {}, hupBefore = {};
        ::sigaction(SIGTERM, nullptr, &termBefore);
        ::sigaction(SIGHUP, nullptr, &hupBefore);
        std::signal(SIGHUP, SIG_IGN);
        struct sigaction termDuring = {}, hupDuring = {};
        {
            TerminationSignals termination;
            ::sigaction(SIGTERM, nullptr, &termDuring);
            ::sigaction(SIGHUP, nullptr, &hupDuring);
        }
        struct sigaction termAfter = {}, hupAfter = {};
        ::sigaction(SIGTERM, nullptr, &termAfter);
        ::sigaction(SIGHUP, nullptr, &hupAfter);
        ::sigaction(SIGHUP, &hupBefore, nullptr);

        QVERIFY(termDuring.sa_handler != termBefore.sa_handler);
        QVERIFY(termAfter.sa_handler == termBefore.sa_handler);
        QVERIFY(hupDuring.sa_handler == SIG_IGN);
        QVERIFY(hupAfter.sa_handler == SIG_IGN);
    }

    // The saves of a puzzle reach the file together, those of the close
    // and those before a switch to another puzzle: killed at any moment in
    // them, the program leaves puzzle 1 with its old marks and crossed-out
    // words, or with the new ones of both.
    void aKillDuringTheSavesLeavesOldOrNewProgress_data() {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("terminateFirst");
        QTest::addColumn<int>("killWithinUs");
        QTest::newRow("SIGTERM, then SIGKILL 0-16 ms later") << "close" << true << 16000;
        QTest::newRow("SIGKILL 0-60 ms into a switch") << "switch" << false << 60000;
    }

    void aKillDuringTheSavesLeavesOldOrNewProgress() {
        QFETCH(QString, mode);
        QFETCH(bool, terminateFirst);
        QFETCH(int, killWithinUs);
        const int rounds = 50;
        const QString oldMarks = "001", oldWords = "01";
        const QString newMarks = "001002003", newWords = "0102";
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("XDG_CONFIG_HOME", home->ConfigFolder());
        QRandomGenerator random(20261208);
        int mixed = 0, kept = 0, saved = 0;
        for (int round = 0; round < rounds; ++round) {
            home->Store(1, "Save", oldMarks);
            home->Store(1, "Palabras", oldWords);
            QProcess program;
            program.setProcessEnvironment(environment);
            program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            program.start(QStringLiteral(ZELVORA_CLOSING_PLAYER), {home->ProgramFolder(), mode});
            QVERIFY(program.waitForStarted(10000));
            QVERIFY2(program.waitForReadyRead(30000) && program.readLine().startsWith("ready"),
                     "the player did not get to play");
            if (terminateFirst)
                QCOMPARE(::kill(pid_t(program.processId()), SIGTERM), 0);
            QThread::usleep(random.bounded(0, killWithinUs + 1));
            ::kill(pid_t(program.processId()), SIGKILL);
            QVERIFY(program.waitForFinished(10000));
            const QString marks = home->Stored(1, "Save"), words = home->Stored(1, "Palabras");
            QVERIFY2((marks == oldMarks || marks == newMarks) &&
                         (words == oldWords || words == newWords),
                     qPrintable(QStringLiteral("marks \"%1\", words \"%2\"").arg(marks, words)));
            if ((marks == newMarks) != (words == newWords))
                ++mixed;
            else
                ++(marks == newMarks ? saved : kept);
        }
        qInfo("%d rounds: %d kept the old progress, %d saved the new, %d mixed", rounds, kept,
              saved, mixed);
        QCOMPARE(mixed, 0);
        QVERIFY2(saved > 0, "no round got as far as saving");
    }

    // The real program, no puzzle chosen: a signal ends it at once with
    // success, no question hanging it, and no progress written.
    void theProgramEndsCleanlyOnASignal_data() { aTerminationSignalEndsTheSession_data(); }

    void theProgramEndsCleanlyOnASignal() {
        QFETCH(int, signal);
        struct sigaction ours = {};
        ::sigaction(signal, nullptr, &ours);
        if (ours.sa_handler == SIG_IGN)
            QSKIP("this signal is ignored here, and so, by design, in the program started");
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QVERIFY(QDir(folder.path()).mkpath("config") && QDir(folder.path()).mkpath("runtime"));
        QFile::setPermissions(folder.filePath("runtime"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("XDG_CONFIG_HOME", folder.filePath("config"));
        environment.insert("XDG_RUNTIME_DIR", folder.filePath("runtime"));
        QProcess program;
        const auto stop = qScopeGuard([&] {
            if (program.state() != QProcess::NotRunning) {
                program.kill();
                program.waitForFinished(5000);
            }
        });
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(QStringLiteral(ZELVORA_BINARY_DIR "/zelvora"), QStringList());
        QVERIFY(program.waitForStarted(10000));
        if (!CatchesSignal(program.processId(), signal).has_value())
            QSKIP("no /proc to tell when the program is ready for signals");
        // Ready once it has its handler: a signal before that would kill it
        // the default way and say nothing about the program.
        QVERIFY(QTest::qWaitFor(
            [&] { return CatchesSignal(program.processId(), signal).value_or(false); }, 10000));
        QCOMPARE(::kill(pid_t(program.processId()), signal), 0);
        QVERIFY2(program.waitForFinished(10000), "the program did not end");
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QVERIFY(!QFile::exists(folder.filePath("config/Pinarejo/Zelvora.conf")));
    }
};

#else
// Termination signals are a Unix matter.
class SessionEndTest : public QObject {
    Q_OBJECT
private slots:
    void unixOnly() { QSKIP("termination signals are a Unix matter"); }
};
#endif

QTEST_MAIN(SessionEndTest)
#include "test_session_end.moc"
