// How long the board and the main window take for what a player feels:
// showing a puzzle, a mark, opening the chooser, choosing a puzzle.
// Run by hand: QT_QPA_PLATFORM=offscreen build/bench/bench_board
#include "ProcessMemory.h"
#include "app/frmMain.h"
#include "board/ctlCuadricula.h"
#include "dialogs/frmConfiguracion.h"
#include "outside/IniFileReader.h"
#include "outside/ctlGrid.h"
#include "support/StandInPerson.h"
#include "support/TestHome.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QListView>
#include <QLocale>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStringListModel>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <malloc.h>
#include <map>
#include <vector>

namespace {
double Median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

// Run just the figures whose name holds one of these texts ("a|b").
QStringList only{QString()};

bool Wanted(const char* what) {
    const QString name = QString::fromUtf8(what);
    return std::any_of(only.begin(), only.end(),
                       [&](const QString& part) { return name.contains(part); });
}

// Runs `once` `runs` times and prints the median in milliseconds.
double Report(const char* what, int runs, const std::function<double()>& once, double goal) {
    if (!Wanted(what))
        return 0;
    std::vector<double> samples;
    for (int i = 0; i < runs; ++i)
        samples.push_back(once());
    const double median = Median(samples);
    std::printf("%-58s %9.3f ms  (goal < %g ms, %s)\n", what, median, goal,
                median < goal ? "met" : "NOT met");
    return median;
}

QString AllCells(int count) {
    QString list;
    for (int i = 1; i <= count; ++i)
        list += QString::number(i).rightJustified(3, QLatin1Char('0'));
    return list;
}

QString LargestPuzzle() {
    return PuzzleSection(1, "Grande", 33, 30, QString(990, QChar(0x00D1)), "UNO DOS",
                         AllCells(990));
}

QString ManyPuzzles(int count) {
    QString file;
    file.reserve(count * 120);
    for (int i = 1; i <= count; ++i)
        file += PuzzleSection(i, QStringLiteral("Sopa número %1").arg(i), 8, 8, QString(64, 'A'),
                              "AAA", "001002003");
    return file;
}

using ProcessMemory::ResidentKb;

double Since(const QElapsedTimer& timer) {
    return timer.nsecsElapsed() / 1e6;
}

// Live heap in kB: unlike the resident size, it falls again once memory is freed.
long HeapKb() {
    const struct mallinfo2 info = mallinfo2();
    return long((info.uordblks + info.hblkhd) / 1024);
}

// The most memory held while a list was shown, beyond what was held before.
struct Held {
    const long residentBefore = ResidentKb();
    const long heapBefore = HeapKb();
    long resident = 0;
    long heap = 0;
};

// Time from `open` (which shows a modal dialog) to the dialog shown.
double TimeOpening(const std::function<void()>& open, Held& held) {
    QElapsedTimer timer;
    double shown = 0;
    QTimer::singleShot(0, [&] {
        shown = Since(timer);
        held.resident = std::max(held.resident, ResidentKb() - held.residentBefore);
        held.heap = std::max(held.heap, HeapKb() - held.heapBefore);
        static_cast<QDialog*>(QApplication::activeModalWidget())->reject();
    });
    timer.start();
    open();
    return shown;
}

// The reference list: the same rows in a bare QListView over a
// QStringListModel, read through a kept reader as the board reads them, in
// a dialog of the chooser's size.
void OpenBareList(const IniFileReader& reader, const QString& file) {
    QStringList rows;
    for (qint32 number = 1;; ++number) {
        const QString title =
            reader.GetValue(QString::number(number), QStringLiteral("Titulo"), file, 0);
        if (title.isEmpty())
            break;
        rows << QString::number(number) + QStringLiteral(" - ") + title;
    }
    QDialog dialog;
    dialog.setFixedSize(304, 254);
    QStringListModel model(rows);
    QListView view(&dialog);
    view.setGeometry(2, 18, 299, 204);
    view.setModel(&model);
    view.setCurrentIndex(model.index(0));
    dialog.exec();
}

// Memory held by an open list, in MB: resident, live heap, and of the live
// heap the data file's parse that the reader keeps.
struct ListMemory {
    double resident = 0, heap = 0, parse = 0;
};

// The live heap that a reader's parse of the file takes alone.
long ParseKb(const QString& file) {
    const long before = HeapKb();
    IniFileReader alone;
    alone.GetValue(QStringLiteral("1"), QStringLiteral("Titulo"), file, 0);
    return HeapKb() - before;
}

// One list over count puzzles: time with the file unchanged and just
// written, and the memory held while shown.
ListMemory ListFigure(const char* list, int count, TestHome& home,
                      const std::function<void()>& open) {
    const QString many = ManyPuzzles(count);
    const QString label = QLocale(QLocale::English).toString(count);
    const double goal = count / 100.0; // 10 µs a puzzle: 100,000 under 1 s
    home.WriteDataFile(many);
    Held held;
    const auto figure = [&](const char* file) {
        return QStringLiteral("opening the %1 over %2 puzzles (file %3)").arg(list, label, file);
    };
    const double unchanged = Report(
        qPrintable(figure("unchanged")), count > 10000 ? 5 : 11,
        [&] { return TimeOpening(open, held); }, goal);
    Report(
        qPrintable(figure("just written")), count > 10000 ? 3 : 5,
        [&] {
            home.WriteDataFile(many);
            return TimeOpening(open, held);
        },
        goal);
    const ListMemory memory{held.resident / 1024.0, held.heap / 1024.0,
                            ParseKb(home.DataFile()) / 1024.0};
    std::printf("%-58s %9.1f MB  (live heap %.1f MB, the file's parse %.1f MB of it)\n",
                qPrintable(QStringLiteral("  memory held by the open %1, %2").arg(list, label)),
                memory.resident, memory.heap, memory.parse);
    static double tenThousand = 0;
    if (count == 10000)
        tenThousand = unchanged;
    else if (tenThousand > 0)
        std::printf("%-58s %9.2fx (goal <= about 10x)\n",
                    "  100,000 against 10,000 puzzles (file unchanged)", unchanged / tenThousand);
    return memory;
}

// The memory a process that opened only the reference list held, as that
// process printed it; each list runs in its own process so that neither
// reuses memory the other freed.
std::map<int, ListMemory> ReferenceInOwnProcess() {
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("opening the bare QListView")});
    child.waitForFinished(-1);
    std::map<int, ListMemory> memory;
    static const QRegularExpression held(
        QStringLiteral("memory held by the open bare QListView, ([0-9,]+) +([0-9.]+) MB  \\(live "
                       "heap ([0-9.]+) MB, the file's parse ([0-9.]+) MB"));
    for (const QString& line : QString::fromUtf8(child.readAllStandardOutput()).split(u'\n')) {
        if (line.startsWith(QStringLiteral("accessibility bridge")) || line.isEmpty())
            continue;
        std::printf("%s\n", qPrintable(line));
        const QRegularExpressionMatch match = held.match(line);
        if (match.hasMatch())
            memory[match.captured(1).remove(u',').toInt()] = {match.captured(2).toDouble(),
                                                              match.captured(3).toDouble(),
                                                              match.captured(4).toDouble()};
    }
    return memory;
}

// The chooser over a long file against the reference list: time, and the
// memory each holds while open, both growing with the file. Both hold the
// file's parse, which the reader keeps, so the lists alone are compared too.
void ListFigures(ctlCuadricula& board, TestHome& home) {
    const bool allFigures = only == QStringList{QString()};
    if (!allFigures && Wanted("opening the bare QListView") && !Wanted("opening the chooser")) {
        IniFileReader reader; // kept, as the board keeps its own
        for (const int count : {10000, 100000})
            ListFigure("bare QListView", count, home,
                       [&] { OpenBareList(reader, home.DataFile()); });
        return;
    }
    if (!Wanted("opening the chooser over"))
        return;
    std::map<int, ListMemory> chooser;
    for (const int count : {10000, 100000})
        chooser[count] = ListFigure("chooser", count, home, [&] { board.ShowGames(); });
    for (const auto& [count, reference] : ReferenceInOwnProcess()) {
        const ListMemory& ours = chooser[count];
        const QString label = QLocale(QLocale::English).toString(count);
        std::printf(
            "%-58s %9.2fx (goal <= 2x)\n",
            qPrintable(QStringLiteral("  open chooser against the bare QListView, %1").arg(label)),
            ours.resident / reference.resident);
        std::printf("%-58s %9.2fx (live heap less the file's parse)\n",
                    qPrintable(QStringLiteral("  the lists alone, %1").arg(label)),
                    (ours.heap - ours.parse) / (reference.heap - reference.parse));
    }
}

// The way a classic profile reader answers one key: read and scan the
// whole file again for every call.
QString FreshParseValue(const QString& path, const QString& section, const QString& key) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const QString text = QString::fromUtf8(file.readAll());
    bool inSection = false;
    for (QStringView line : QStringView(text).split(u'\n')) {
        line = line.trimmed();
        if (line.startsWith(u'[')) {
            inSection = line.sliced(1, line.indexOf(u']') - 1)
                            .trimmed()
                            .compare(section, Qt::CaseInsensitive) == 0;
        } else if (inSection) {
            const qsizetype equals = line.indexOf(u'=');
            if (equals > 0 && line.first(equals).trimmed().compare(key, Qt::CaseInsensitive) == 0)
                return line.sliced(equals + 1).trimmed().toString();
        }
    }
    return QString();
}

// Reads every title until the first empty one; returns how many.
int ReadTitles(const std::function<QString(const QString&)>& title) {
    int count = 0;
    while (!title(QString::number(count + 1)).isEmpty())
        ++count;
    return count;
}

// With the bridge asked for, it comes up once the program reaches the
// accessibility bus, which takes a few turns of the event loop.
void ReportAccessibility() {
    const bool asked = !qEnvironmentVariableIsEmpty("QT_LINUX_ACCESSIBILITY_ALWAYS_ON");
    QElapsedTimer waited;
    waited.start();
    while (asked && !QAccessible::isActive() && waited.elapsed() < 3000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    std::printf("accessibility bridge: %s\n", QAccessible::isActive() ? "active" : "off");
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc > 1)
        only = QString::fromLocal8Bit(argv[1]).split(QLatin1Char('|'));
    ReportAccessibility();
    StandInPerson person;
    TestHome home;

    home.WriteDataFile(LargestPuzzle());
    home.Store(1, "Save", AllCells(990));
    ctlCuadricula board;
    board.resize(900, 900);
    board.show();
    board.SetNumeroJuego(1);
    board.LoadPuzzle();
    board.Refresh(true);
    QApplication::processEvents();

    Report(
        "LoadPuzzle + Refresh(true) + paint, 33x30, all marked", 41,
        [&] {
            QElapsedTimer timer;
            timer.start();
            board.SetNumeroJuego(1);
            board.LoadPuzzle();
            board.Refresh(true);
            board.Grid()->viewport()->repaint();
            return Since(timer);
        },
        5.0);

    int toggles = 0;
    Report(
        "one mark toggled and repainted", 201,
        [&] {
            QElapsedTimer timer;
            timer.start();
            const int column = 1 + toggles % 33, row = 1 + toggles / 33 % 30;
            ++toggles;
            emit board.Grid()->CellClick(column, row);
            // Paints now the one cell the toggle changed, as the next frame would.
            const int width = board.Grid()->ColumnWidth(1);
            const int height = board.Grid()->GetGridHeight() / 30;
            board.Grid()->viewport()->repaint((column - 1) * width, (row - 1) * height, width,
                                              height);
            return Since(timer);
        },
        1.0);

    ListFigures(board, home);

    if (Wanted("reading every title"))
        std::printf(
            "\nreading every title: one parse kept (ours) against a fresh parse per title\n");
    for (int count : {500, 1000, 2000, 4000}) {
        if (!Wanted("reading every title"))
            break;
        home.WriteDataFile(ManyPuzzles(count));
        QElapsedTimer timer;
        timer.start();
        IniFileReader reader;
        ReadTitles([&](const QString& section) {
            return reader.GetValue(section, QStringLiteral("Titulo"), home.DataFile(), 0);
        });
        const double ours = Since(timer);
        timer.restart();
        ReadTitles([&](const QString& section) {
            return FreshParseValue(home.DataFile(), section, QStringLiteral("Titulo"));
        });
        const double fresh = Since(timer);
        std::printf("  %5d puzzles: ours %8.2f ms   fresh parse %9.1f ms   (%.0fx)\n", count, ours,
                    fresh, fresh / ours);
    }
    std::printf("\n");

    home.WriteDataFile(LargestPuzzle());
    const double bare = Report(
        "reference: 33x30 plain cells in a bare QTableWidget + paint", 21,
        [&] {
            QElapsedTimer timer;
            timer.start();
            QTableWidget table(30, 33);
            for (int row = 0; row < 30; ++row)
                for (int column = 0; column < 33; ++column)
                    table.setItem(row, column, new QTableWidgetItem(QStringLiteral("Ñ")));
            table.resizeColumnsToContents();
            table.resize(900, 900);
            table.show();
            table.repaint();
            table.viewport()->repaint();
            return Since(timer);
        },
        16.0);

    Report(
        "applying new settings with 990 marked cells, painted", 15,
        [&] {
            double applied = 0;
            QTimer::singleShot(0, [&] {
                auto* dialog = static_cast<frmConfiguracion*>(QApplication::activeModalWidget());
                person.colourAnswers.push_back(0x00FF00 + toggles++);
                QTest::mouseClick(dialog->cmdColores(1), Qt::LeftButton);
                QElapsedTimer timer;
                timer.start();
                QTest::mouseClick(dialog->cmdAcciones(2), Qt::LeftButton);
                board.Grid()->viewport()->repaint();
                applied = Since(timer);
                dialog->reject();
            });
            board.ShowConfiguration();
            return applied;
        },
        16.0);

    QFile bundled(QStringLiteral(ZELVORA_SOURCE_DIR "/data/zelvora.ini"));
    if (!bundled.open(QIODevice::ReadOnly))
        return 1;
    home.WriteDataFileBytes(bundled.readAll());
    frmMain window;
    window.show();
    QApplication::processEvents();
    auto* choose = window.findChild<QAction*>(QStringLiteral("mnuOpcSeleccionarJuego"));
    const double choosing = Report(
        "choosing the largest bundled puzzle, pick to painted window", 21,
        [&] {
            QElapsedTimer timer;
            QTimer::singleShot(0, [&] {
                auto* chooser = QApplication::activeModalWidget();
                auto* list = chooser->findChild<ctlGrid*>(QStringLiteral("ctlGridJuegos"));
                list->ChangeCellSelected(1, list->GetRowCount());
                timer.start();
                emit list->CellClick(1, list->GetRowCount());
            });
            choose->trigger();
            window.repaint();
            return Since(timer);
        },
        16.0);
    if (bare > 0 && choosing > 0)
        std::printf("%-58s %9.2fx (goal < 2x)\n", "choosing against the bare grid",
                    choosing / bare);
    return 0;
}
