// Inputs that the fuzzers under fuzz/ (or their set-up) found the program
// mishandling, kept as ordinary tests.
#include "board/ctlCuadricula.h"
#include "support/TestHome.h"

#include <QFile>
#include <QTest>
#include <atomic>
#include <chrono>
#include <thread>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

class FuzzRegressionsTest : public QObject {
    Q_OBJECT

private slots:
    // A hand-edited "ImageFile" may name a pipe or a device. Opening a pipe
    // for reading waits for a writer, so the board would hang on every
    // refresh; it must not open one at all.
    void pictureThatIsAPipeIsNotOpened() {
#ifndef Q_OS_UNIX
        QSKIP("named pipes in the file system are a Unix matter");
#else
        TestHome home;
        home.WriteDataFile(PuzzleSection(1, "Uno", 2, 2, "ABCD", "AB", "001"));
        const QString pipe = home.ProgramFolder() + QStringLiteral("/fondo.png");
        const QByteArray pipePath = QFile::encodeName(pipe);
        QCOMPARE(::mkfifo(pipePath.constData(), 0600), 0);
        home.Store(0, QStringLiteral("ImageFile"), pipe);

        // Plays the writer only if the board opens the pipe: the write end
        // opens only while someone reads, and closing it ends their wait,
        // so a board that gets this wrong fails here instead of hanging.
        std::atomic<bool> done{false}, opened{false};
        std::thread writer([&] {
            while (!done) {
                const int fd = ::open(pipePath.constData(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0) {
                    opened = true;
                    ::close(fd);
                } else {
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                }
            }
        });
        ctlCuadricula board;
        board.SetNumeroJuego(1);
        board.LoadPuzzle();
        board.Refresh(true);
        done = true;
        writer.join();
        QVERIFY(!opened);
        QCOMPARE(board.PictureFile(), pipe); // the setting itself is kept
#endif
    }
};

QTEST_MAIN(FuzzRegressionsTest)
#include "test_fuzz_regressions.moc"
