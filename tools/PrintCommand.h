#pragma once

#include <QStringList>

// zelvora-maker print FILE [N|all]: writes puzzles of a data file as a PDF,
// one page each, with --solution a solution page after each. Exit status 0
// when written, 1 when a puzzle cannot be printed or the PDF not written,
// 2 for a wrong command line.
class PrintCommand {
public:
    static int Run(const QStringList& arguments);
};
