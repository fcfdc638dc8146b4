#pragma once

#include "support/TestRegistry.h"

#include <QString>
#include <QTemporaryDir>

// A home of its own for one test: a program folder holding the data file
// and a config folder holding the real settings store. Both are gone when
// the test ends. On Windows the store is a registry key of its own.
class TestHome {
public:
    TestHome();
    ~TestHome();

    QString ProgramFolder() const;
    QString DataFile() const;
    QString ConfigFolder() const;

    // Writes the data file beside the "program" (UTF-8).
    void WriteDataFile(const QString& content) const;
    void WriteDataFileBytes(const QByteArray& content) const;

    // Reads and writes the store as the program does.
    QString Stored(qint32 game, const QString& name) const;
    bool IsStored(qint32 game, const QString& name) const;
    void Store(qint32 game, const QString& name, const QString& value) const;

private:
    QTemporaryDir dir_;
    TestRegistry registry_;
};

class ctlCuadricula;

// Opens puzzle `number` on a board the way choosing it does: load, then
// refresh from the saved progress.
void OpenPuzzle(ctlCuadricula& board, int number);

// A data-file section for a puzzle.
QString PuzzleSection(int number, const QString& title, int columns, int rows,
                      const QString& letters, const QString& words, const QString& solution);
