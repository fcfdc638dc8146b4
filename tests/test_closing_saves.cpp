// Closing the main window when the progress cannot be kept: the player hears
// once, the window still closes, and a failing save does not keep the next
// one from running.

#include "app/frmMain.h"
#include "board/ctlCuadricula.h"
#include "outside/MessageCatalogue.h"
#include "outside/ctlGrid.h"
#include "support/ChooserDriver.h"
#include "support/ModalDriver.h"
#include "support/StandInPerson.h"
#include "support/TestHome.h"
#include "wordlist/ctlLista.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <memory>

namespace {
QString TwoPuzzles() {
    return PuzzleSection(1, "Uno", 3, 2, "SOLAXE", "SOL AXE", "001002003") +
           PuzzleSection(2, "Dos", 4, 4, "GATOXXXXPEZXXXXX", "GATO PEZ", "001002003004009010011");
}
} // namespace

class ClosingSavesTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestHome> home;

    QString SettingsFile() const { return home->ConfigFolder() + "/Pinarejo/Zelvora.conf"; }

    void ChooseRow(frmMain& window, int row) {
        ModalDriver driver([row](QWidget* chooser) { ChooserDriver::ClickRow(chooser, row); });
        window.findChild<QAction*>("mnuOpcSeleccionarJuego")->trigger();
        QVERIFY(driver.Acted());
    }

    // Puzzle 2 with two marked cells and its second word crossed out.
    void PlayPuzzleTwo(frmMain& window) {
        ChooseRow(window, 2);
        emit window.Board()->Grid()->CellClick(1, 1);
        emit window.Board()->Grid()->CellClick(4, 1);
        window.WordList()->SeleccionarPalabra(1, 2);
    }

    // The settings folder cannot be made: a file stands where it goes. (The
    // tests run as any user, root too, so permissions would not stop it.)
    void BlockTheStore() {
        const QString folder = home->ConfigFolder() + "/Pinarejo";
        QDir(folder).removeRecursively();
        QFile blocker(folder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.write("not a folder");
    }

    void UnblockTheStore() { QVERIFY(QFile::remove(home->ConfigFolder() + "/Pinarejo")); }

private slots:
    void init() {
        MessageCatalogue::PinLanguage(MessageCatalogue::Language::Spanish);
        home = std::make_unique<TestHome>();
        home->WriteDataFile(TwoPuzzles());
    }
    void cleanup() { home.reset(); }

    void aStoreThatCannotBeWrittenIsReportedOnceAndTheWindowCloses() {
        FILE_STORE_ONLY();
        {
            StandInPerson person;
            person.yesNoAnswers = {true};
            frmMain window;
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            PlayPuzzleTwo(window);
            if (QTest::currentTestFailed())
                return;
            BlockTheStore();
            if (QTest::currentTestFailed())
                return;

            QVERIFY(window.close());
            QVERIFY(!window.isVisible());
            QCOMPARE(person.Count("yesno"), 1);
            QCOMPARE(person.Count("error"), 1);
            const QString report = person.asked.last().text;
            QVERIFY2(report.contains(QDir::toNativeSeparators(SettingsFile())), qPrintable(report));
            // The first failure is the one reported: the board's.
            QVERIFY2(report.contains("ctlCuadricula.Save"), qPrintable(report));
            QVERIFY2(report.startsWith("Error 75"), qPrintable(report));
        }
        UnblockTheStore();
        QVERIFY(!home->IsStored(2, "Save"));
        QVERIFY(!home->IsStored(2, "Palabras"));

        // Nothing of the lost saves lingers, and the store works again.
        StandInPerson person;
        person.yesNoAnswers = {true};
        frmMain again;
        ChooseRow(again, 2);
        QCOMPARE(again.Board()->Grid()->CellBackColor(1, 1), -1);
        emit again.Board()->Grid()->CellClick(2, 2);
        QVERIFY(again.close());
        QCOMPARE(person.Count("error"), 0);
        QCOMPARE(home->Stored(2, "Save"), QStringLiteral("006"));
        QCOMPARE(home->Stored(2, "Palabras"), QStringLiteral(""));
    }

    // A settings file with a damaged line, as a sync tool's conflict leaves
    // it: the player plays on, hears of it once, and nothing readable or
    // newly played is lost; the damaged file is kept aside.
    void aDamagedSettingsFileNeverStopsSaving() {
        FILE_STORE_ONLY();
        const QByteArray damaged = "[Configuracion]\nColorSel=255\n<<<<<<< mine\n\n"
                                   "[Juegos]\n2\\Save=001\n2\\Palabras=01\n>>>>>>> theirs\n";
        QDir().mkpath(QFileInfo(SettingsFile()).path());
        QFile file(SettingsFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(damaged);
        file.close();
        const auto asideFiles = [this] {
            return QDir(QFileInfo(SettingsFile()).path())
                .entryList({"Zelvora-damaged-*.conf"}, QDir::Files);
        };
        {
            StandInPerson person;
            person.yesNoAnswers = {true};
            frmMain window;
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            ChooseRow(window, 2);
            QCOMPARE(window.Board()->Grid()->CellBackColor(1, 1), 255);
            QCOMPARE(window.Board()->Grid()->CellBackColor(2, 1), -1);
            emit window.Board()->Grid()->CellClick(2, 1);
            window.WordList()->SeleccionarPalabra(1, 2);
            QTest::qWait(10);
            QVERIFY(window.close());
            QCOMPARE(person.Count("error"), 0);
            QCOMPARE(person.Count("information"), 1);
            const QString notice = person.asked.first().text;
            QCOMPARE(asideFiles().size(), 1);
            QVERIFY2(notice.contains(QDir::toNativeSeparators(SettingsFile())), qPrintable(notice));
            QVERIFY2(notice.contains(asideFiles().first()), qPrintable(notice));
        }
        QCOMPARE(home->Stored(2, "Save"), QStringLiteral("001002"));
        QCOMPARE(home->Stored(2, "Palabras"), QStringLiteral("0102"));
        QFile aside(QFileInfo(SettingsFile()).path() + "/" + asideFiles().first());
        QVERIFY(aside.open(QIODevice::ReadOnly));
        QCOMPARE(aside.readAll(), damaged);

        // Started again: everything back, and no second message.
        StandInPerson person;
        person.yesNoAnswers = {true};
        frmMain again;
        ChooseRow(again, 2);
        QCOMPARE(again.Board()->Grid()->CellBackColor(2, 1), 255);
        QTest::qWait(10);
        QVERIFY(again.close());
        QCOMPARE(person.Count("information"), 0);
        QCOMPARE(person.Count("error"), 0);
        QCOMPARE(asideFiles().size(), 1);
    }

    // A board whose size no longer fits in a cell count cannot save; the
    // word list's save after it still runs.
    void aFailingBoardSaveDoesNotStopTheWordListsSave() {
        StandInPerson person;
        person.yesNoAnswers = {true};
        frmMain window;
        PlayPuzzleTwo(window);
        if (QTest::currentTestFailed())
            return;
        window.Board()->SetColumns(70000);
        window.Board()->SetRows(70000);

        QVERIFY(window.close());
        QVERIFY(!window.isVisible());
        QCOMPARE(person.Count("error"), 1);
        const QString report = person.asked.last().text;
        QVERIFY2(report.startsWith("Error 6\nctlCuadricula.Save"), qPrintable(report));
        QVERIFY(!home->IsStored(2, "Save"));
        QCOMPARE(home->Stored(2, "Palabras"), QStringLiteral("02"));
    }
};

QTEST_MAIN(ClosingSavesTest)
#include "test_closing_saves.moc"
