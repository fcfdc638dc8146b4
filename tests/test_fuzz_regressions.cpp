// Inputs that the fuzzers under fuzz/ (or their set-up) found the program
// mishandling, kept as ordinary tests.
#include "board/ctlCuadricula.h"
#include "outside/ProductInfo.h"
#include "outside/RegistryStore.h"
#include "support/TestHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <atomic>
#include <chrono>
#include <thread>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
#ifndef Q_OS_WIN
// The settings file the store keeps its values in, as a person would find it.
QString SettingsFile() {
    return RegistryStore::FileName(ProductInfo().GetRegistryKey(2, 0));
}

void WriteSettingsFile(const QByteArray& content) {
    const QString path = SettingsFile();
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}
#endif
} // namespace

class FuzzRegressionsTest : public QObject {
    Q_OBJECT

private slots:
    // The last character of a data file cut off in the middle of its UTF-8
    // bytes: the file is not UTF-8, so it reads as Windows-1252, whole.
    void dataFileEndingInACutCharacter() {
        TestHome home;
        home.WriteDataFileBytes("[1]\nCantAncho=2\nCantAlto=1\nTitulo=Ca\xC3");
        ctlCuadricula board;
        board.SetNumeroJuego(1);
        board.LoadPuzzle();
        QCOMPARE(board.Titulo(), QStringLiteral("Ca\u00C3"));
    }

    // A hand-edited setting that Qt's own format would decode as a list
    // claiming more than a billion items: the store keeps it as the text it
    // is, and the board still reads the other settings and leaves its font
    // size alone.
    void settingThatClaimsAHugeList() {
        TestHome home;
        home.WriteDataFile(PuzzleSection(1, "Uno", 2, 2, "ABCD", "AB", "001"));
#ifdef Q_OS_WIN
        // There the same text is a registry value, as a hand edit leaves it.
        home.Store(0, "ColorFondo", "255");
        home.Store(0, "FontSize", "@Variant(\\0\\0\\0\\tSize=@Variant(\\0\\0\\0\\x6)");
#else
        WriteSettingsFile("[Configuracion]\nColorFondo=255\n"
                          "FontSize=@Variant(\\0\\0\\0\\tSize=@Variant(\\0\\0\\0\\x6)\n");
#endif
        ctlCuadricula board;
        const double size = board.BoardFont()->Size();
        board.SetNumeroJuego(1);
        board.LoadPuzzle();
        board.Refresh(true);
        QCOMPARE(board.BackgroundColour(), 255);
        QCOMPARE(board.BoardFont()->Size(), size);
    }

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
