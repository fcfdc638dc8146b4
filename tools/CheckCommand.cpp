#include "CheckCommand.h"

#include "PuzzleChecker.h"

#include "core/PuzzleFile.h"
#include "outside/AppError.h"
#include "outside/IniFileReader.h"
#include "outside/MessageCatalogue.h"

#include <QCommandLineParser>
#include <cstdio>

namespace {

const char* const Description =
    R"(Checks Zelvora data files the way the game reads them, and prints one line
per fault a player would meet: puzzles the list of puzzles never shows, sizes
the board refuses, letters that do not fill the grid, words that cannot be
found or are found twice, a solution that is not the words' cells, and text
in a damaged encoding. The lines are in the player's language (LANG).

Exit status: 0 when no fault was found; 1 when a fault was found or a file
cannot be read; 2 for a wrong command line.)";

void Print(FILE* stream, const QString& text) {
    std::fputs(qPrintable(text + u'\n'), stream);
}

// The puzzles the game's list shows.
qsizetype ListedPuzzles(const QString& path) {
    const IniFileReader reader;
    return PuzzleFile(reader, path).Titles().size();
}

} // namespace

int CheckCommand::Run(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(Description));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("check"), QStringLiteral("The command."));
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("Data files to check."),
                                 QStringLiteral("FILE..."));
    if (!parser.parse(arguments)) {
        Print(stderr, QStringLiteral("zelvora-maker check: %1").arg(parser.errorText()));
        return 2;
    }
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);
    const QStringList files = parser.positionalArguments().mid(1);
    if (files.isEmpty()) {
        Print(stderr, QStringLiteral("zelvora-maker check: no data file given.\n"
                                     "Try zelvora-maker check --help."));
        return 2;
    }

    bool anyFault = false;
    for (const QString& file : files) {
        std::vector<PuzzleFault> faults;
        try {
            faults = PuzzleChecker::CheckFile(file);
        } catch (const AppError& error) { // the reader's own refusal
            faults = {{QString(), QString(),
                       MessageCatalogue::Text(11302).arg(file, error.Description())}};
        }
        for (const PuzzleFault& fault : faults)
            Print(stdout, QStringLiteral("%1: %2").arg(file, fault.Text()));
        if (faults.empty())
            Print(stderr,
                  MessageCatalogue::Text(11303).arg(file, QString::number(ListedPuzzles(file))));
        else
            Print(stderr, MessageCatalogue::Text(11304).arg(file, QString::number(faults.size())));
        anyFault = anyFault || !faults.empty();
    }
    std::fflush(stdout);
    return anyFault ? 1 : 0;
}
