#include "PrintCommand.h"

#include "PuzzleChecker.h"
#include "PuzzlePrinter.h"

#include "core/PuzzleFile.h"
#include "outside/AppError.h"
#include "outside/IniFileReader.h"
#include "outside/MessageCatalogue.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>
#include <cstdio>
#include <numeric>
#include <optional>
#include <vector>

namespace {

const char* const Description =
    R"(Writes puzzles of a Zelvora data file as a PDF to print: for each puzzle a
page with its title, the letter grid and the word list, sized to fill the
page, and with --solution a second page with only the solution's letters.

N is a puzzle number; all (the default) prints every puzzle the game lists.
The paper is A4, or Letter where the locale measures in inches, unless
--paper says otherwise. Without --output the PDF is FILE's name with the
number and .pdf, in the current folder.

Exit status: 0 when written; 1 when a puzzle cannot be printed or the PDF
cannot be written; 2 for a wrong command line.)";

void PrintError(const QString& text) {
    std::fputs(qPrintable(QStringLiteral("zelvora-maker print: %1\n").arg(text)), stderr);
}

int Usage(const QString& why) {
    PrintError(why + QStringLiteral("\nTry zelvora-maker print --help."));
    return 2;
}

// The puzzles the game lists.
std::vector<int> ListedNumbers(const QString& file) {
    const IniFileReader reader;
    std::vector<int> numbers(PuzzleFile(reader, file).Titles().size());
    std::iota(numbers.begin(), numbers.end(), 1);
    return numbers;
}

// The paper named (a4 or letter), or the locale's without a name.
std::optional<PuzzlePrinter::Paper> ChosenPaper(const std::optional<QString>& named) {
    if (!named)
        return QLocale().measurementSystem() == QLocale::ImperialUSSystem
                   ? PuzzlePrinter::Paper::Letter
                   : PuzzlePrinter::Paper::A4;
    const QString name = named->toLower();
    if (name == QStringLiteral("a4"))
        return PuzzlePrinter::Paper::A4;
    if (name == QStringLiteral("letter"))
        return PuzzlePrinter::Paper::Letter;
    return std::nullopt;
}

// The printable puzzles, or an empty list with the reason printed.
std::vector<PrintablePuzzle> ReadPuzzles(const QString& file, const std::vector<int>& numbers) {
    if (numbers.empty()) {
        PrintError(MessageCatalogue::Text(11360).arg(file, QStringLiteral("1")));
        return {};
    }
    std::vector<PrintablePuzzle> puzzles;
    for (int number : numbers) {
        const PuzzleFields fields = PuzzleChecker::ReadPuzzle(file, QString::number(number));
        if (fields.title.isEmpty()) {
            PrintError(MessageCatalogue::Text(11360).arg(file, QString::number(number)));
            return {};
        }
        QString why;
        const std::optional<PrintablePuzzle> puzzle =
            PuzzlePrinter::FromFields(fields, number, &why);
        if (!puzzle) {
            PrintError(MessageCatalogue::Text(11362).arg(number).arg(why));
            return {};
        }
        puzzles.push_back(*puzzle);
    }
    return puzzles;
}

} // namespace

int PrintCommand::Run(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(Description));
    parser.addHelpOption();
    const QCommandLineOption solution(QStringLiteral("solution"),
                                      QStringLiteral("Add a page with the solution after each "
                                                     "puzzle."));
    const QCommandLineOption paper(QStringLiteral("paper"),
                                   QStringLiteral("a4 or letter (default: from the locale)."),
                                   QStringLiteral("SIZE"));
    const QCommandLineOption output(
        QStringLiteral("output"), QStringLiteral("Write the PDF to FILE."), QStringLiteral("FILE"));
    parser.addOptions({solution, paper, output});
    parser.addPositionalArgument(QStringLiteral("print"), QStringLiteral("The command."));
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The data file."));
    parser.addPositionalArgument(QStringLiteral("N"), QStringLiteral("A puzzle number, or all."),
                                 QStringLiteral("[N|all]"));
    if (!parser.parse(arguments))
        return Usage(parser.errorText());
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);
    const QStringList positional = parser.positionalArguments().mid(1);
    if (positional.isEmpty() || positional.size() > 2)
        return Usage(QStringLiteral("give one data file and, optionally, a number or all."));
    const QString file = positional[0];
    const QString which = positional.value(1, QStringLiteral("all"));

    const int number = PuzzleChecker::PuzzleNumber(which);
    if (number == 0 && which != QStringLiteral("all"))
        return Usage(QStringLiteral("the puzzle is a number from 1 up, or all."));

    const std::optional<PuzzlePrinter::Paper> size =
        ChosenPaper(parser.isSet(paper) ? std::optional(parser.value(paper)) : std::nullopt);
    if (!size)
        return Usage(QStringLiteral("--paper is a4 or letter."));

    QFile readable(file);
    if (!readable.open(QIODevice::ReadOnly)) {
        PrintError(MessageCatalogue::Text(11302).arg(file, readable.errorString()));
        return 1;
    }
    std::vector<PrintablePuzzle> puzzles;
    try {
        puzzles = ReadPuzzles(file, number > 0 ? std::vector<int>{number} : ListedNumbers(file));
    } catch (const AppError& error) { // the reader's own refusal
        PrintError(MessageCatalogue::Text(11302).arg(file, error.Description()));
        return 1;
    }
    if (puzzles.empty())
        return 1;
    const QString target =
        parser.isSet(output)
            ? parser.value(output)
            : QStringLiteral("%1-%2.pdf").arg(QFileInfo(file).completeBaseName(), which);
    QSaveFile pdf(target);
    if (!pdf.open(QIODevice::WriteOnly)) {
        PrintError(MessageCatalogue::Text(11361).arg(target, pdf.errorString()));
        return 1;
    }
    {
        PuzzlePrinter printer(
            &pdf, *size, puzzles.size() == 1 ? puzzles.front().title : QFileInfo(file).fileName());
        for (const PrintablePuzzle& puzzle : puzzles)
            printer.Add(puzzle, parser.isSet(solution));
        if (!printer.Finish()) {
            PrintError(MessageCatalogue::Text(11361).arg(target, pdf.errorString()));
            return 1;
        }
    }
    if (!pdf.commit()) {
        PrintError(MessageCatalogue::Text(11361).arg(target, pdf.errorString()));
        return 1;
    }
    return 0;
}
