// zelvora-maker: makes the word-search puzzles of Zelvora's data file from
// word lists, checks data files (check) and prints puzzles (print). The
// placing is done by PuzzleMaker; this file reads the command line and the
// lists and writes the sections.

#include "CheckCommand.h"
#include "MakerRefusal.h"
#include "PrintCommand.h"
#include "PuzzleMaker.h"
#include "WordListFile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>
#include <cstdio>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#endif

namespace {

constexpr int ExitRefused = 1;
constexpr int ExitUsage = 2;

const char* const Description =
    R"(Makes word-search puzzles for Zelvora's data file from word lists.

Each LIST is a UTF-8 text file, or - for standard input:
  the first line is the puzzle's title;
  then, optionally, a line "size COLSxROWS" (columns x rows, at most 999 cells)
  and a line "seed N" (the seed that makes this puzzle);
  then one word per line, at most 99 words.
Blank lines and lines starting with # are skipped. Words are written in
upper case (ñ becomes Ñ, á becomes Á); they may hold Ñ, accented vowels and
Ü, and no blanks, digits or signs.

The words are hidden in all eight directions, crossing where their letters
agree; every other cell gets a letter drawn with Spanish letter frequencies,
and each word can be read exactly once. Without a size, the smallest grid
near a square that fits the words is used. The same seed and list always give
the same puzzle.

Lists are numbered from --number on, one section each, and written to
standard output, to the --output file (replaced whole) or at the end of the
--append file. Nothing is written unless every list makes a puzzle.

Exit status: 0 when written; 1 when a list is refused or no layout is found
(the reason goes to standard error); 2 for a wrong command line.

Two more commands (see zelvora-maker check --help and print --help):
  zelvora-maker check FILE...         reports every fault of data files
  zelvora-maker print FILE [N|all]    writes puzzles of a data file as a PDF

Example, the bundled puzzles:
  zelvora-maker --output data/zelvora.ini data/puzzles/*.txt)";

void PrintError(const QString& message) {
    std::fputs(qPrintable(message + u'\n'), stderr);
}

struct Options {
    int firstNumber = 1;
    std::optional<std::uint32_t> seed;
    std::optional<QSize> size;
    QString outputFile;
    QString appendFile;
    QStringList lists;
};

// Reads the command line; nothing when it is wrong (already reported).
std::optional<Options> ReadCommandLine(const QCoreApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(Description));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption number(QStringLiteral("number"),
                                    QStringLiteral("Section number of the first puzzle "
                                                   "(default 1)."),
                                    QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption seed(QStringLiteral("seed"),
                                  QStringLiteral("Seed for every list, over its own seed line "
                                                 "(default: the list's seed line, else 1)."),
                                  QStringLiteral("N"));
    const QCommandLineOption size(QStringLiteral("size"),
                                  QStringLiteral("Size for every list, over its own size line."),
                                  QStringLiteral("COLSxROWS"));
    const QCommandLineOption output(QStringLiteral("output"),
                                    QStringLiteral("Write the sections to FILE, replacing it."),
                                    QStringLiteral("FILE"));
    const QCommandLineOption append(QStringLiteral("append"),
                                    QStringLiteral("Add the sections at the end of FILE."),
                                    QStringLiteral("FILE"));
    parser.addOptions({number, seed, size, output, append});
    parser.addPositionalArgument(QStringLiteral("LIST"),
                                 QStringLiteral("Word-list files, or - for standard input."),
                                 QStringLiteral("LIST..."));

    auto usage = [&](const QString& why) {
        PrintError(QStringLiteral("zelvora-maker: %1\nTry zelvora-maker --help.").arg(why));
        return std::optional<Options>();
    };
    if (!parser.parse(app.arguments()))
        return usage(parser.errorText());
    if (parser.isSet(help))
        parser.showHelp(0);
    if (parser.isSet(version))
        parser.showVersion();

    Options options;
    bool ok = false;
    options.firstNumber = parser.value(number).toInt(&ok);
    if (!ok || options.firstNumber < 1)
        return usage(QStringLiteral("--number takes a whole number from 1 up."));
    if (parser.isSet(seed) && !(options.seed = WordListFile::ParseSeed(parser.value(seed))))
        return usage(QStringLiteral("--seed takes a whole number from 0 to 4294967295."));
    if (parser.isSet(size) && !(options.size = WordListFile::ParseSize(parser.value(size))))
        return usage(QStringLiteral("--size is written like 12x10 (columns x rows)."));
    options.outputFile = parser.value(output);
    options.appendFile = parser.value(append);
    if (parser.isSet(output) && parser.isSet(append))
        return usage(QStringLiteral("give --output or --append, not both."));
    options.lists = parser.positionalArguments();
    if (options.lists.isEmpty())
        return usage(QStringLiteral("no word list given."));
    return options;
}

QString MakeSections(const Options& options) {
    QString sections;
    int number = options.firstNumber;
    for (const QString& path : options.lists) {
        const WordListFile list = WordListFile::Read(path);
        PuzzleMaker maker(options.seed.value_or(list.seed.value_or(1)));
        MadePuzzle puzzle;
        try {
            puzzle = maker.Make(list.title, list.words, options.size ? options.size : list.size);
        } catch (const MakerRefusal& refusal) {
            throw MakerRefusal(QStringLiteral("%1: %2").arg(path, refusal.Message()));
        }
        sections += puzzle.IniSection(number);
        PrintError(QStringLiteral("[%1] %2: %3x%4, %5 words")
                       .arg(number)
                       .arg(puzzle.title)
                       .arg(puzzle.columns)
                       .arg(puzzle.rows)
                       .arg(puzzle.words.size()));
        ++number;
    }
    return sections;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw MakerRefusal(QStringLiteral("%1: %2").arg(path, file.errorString()));
}

// The existing file with the new sections after it. The profile reader sees
// only the first of two sections with one name, so a clash is refused.
QByteArray Appended(const QString& path, const QString& sections, const Options& options) {
    QFile file(path);
    QByteArray existing;
    if (file.exists()) {
        if (!file.open(QIODevice::ReadOnly))
            throw MakerRefusal(QStringLiteral("%1: %2").arg(path, file.errorString()));
        existing = file.readAll();
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(existing);
    if (decoder.hasError())
        throw MakerRefusal(
            QStringLiteral("%1 is not UTF-8: adding UTF-8 sections would garble them.").arg(path));

    static const QRegularExpression sectionLine(QStringLiteral("^\\s*\\[\\s*([^\\]]*?)\\s*\\]"),
                                                QRegularExpression::MultilineOption);
    QStringList names;
    for (const QRegularExpressionMatch& match : sectionLine.globalMatch(text))
        names += match.captured(1);
    const int lastNumber = options.firstNumber + int(options.lists.size()) - 1;
    for (int number = options.firstNumber; number <= lastNumber; ++number) {
        if (names.contains(QString::number(number), Qt::CaseInsensitive))
            throw MakerRefusal(
                QStringLiteral("%1 already has a section [%2].").arg(path).arg(number));
    }
    if (options.firstNumber > 1 && !names.contains(QString::number(options.firstNumber - 1)))
        PrintError(QStringLiteral("zelvora-maker: warning: %1 has no section [%2]; the game "
                                  "lists puzzles only up to the first gap.")
                       .arg(path)
                       .arg(options.firstNumber - 1));

    if (!existing.isEmpty() && !existing.endsWith('\n'))
        existing += '\n';
    return existing + sections.toUtf8();
}

void WriteStandardOutput(const QByteArray& bytes) {
#ifdef Q_OS_WIN
    // The data file's own bytes: Windows' text mode would turn each line end
    // into CR LF.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) != size_t(bytes.size()) ||
        std::fflush(stdout) != 0)
        throw MakerRefusal(QStringLiteral("standard output could not be written."));
}

} // namespace

void SetNames() {
    QCoreApplication::setApplicationName(QStringLiteral("zelvora-maker"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0"));
}

int main(int argc, char* argv[]) {
    const QByteArray command = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (command == "print") {
        // Printing needs fonts, which need a GUI platform; it never shows a
        // window, so the offscreen one serves with or without a display.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        SetNames();
        return PrintCommand::Run(app.arguments());
    }
    QCoreApplication app(argc, argv);
    SetNames();
    if (command == "check")
        return CheckCommand::Run(app.arguments());

    const std::optional<Options> options = ReadCommandLine(app);
    if (!options)
        return ExitUsage;
    try {
        const QString sections = MakeSections(*options);
        if (!options->outputFile.isEmpty())
            WriteFile(options->outputFile, sections.toUtf8());
        else if (!options->appendFile.isEmpty())
            WriteFile(options->appendFile, Appended(options->appendFile, sections, *options));
        else
            WriteStandardOutput(sections.toUtf8());
    } catch (const MakerRefusal& refusal) {
        PrintError(QStringLiteral("zelvora-maker: %1").arg(refusal.Message()));
        return ExitRefused;
    }
    return 0;
}
