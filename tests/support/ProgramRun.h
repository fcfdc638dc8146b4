#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// One run of a command-line program to its end, as a test sees it.
struct ProgramRun {
    // -1 when the program could not be started or did not end by itself;
    // the reason is printed as a warning.
    int exitCode = -1;
    QByteArray out;
    QByteArray err;

    // A start that fails is tried again: under Wine, a loaded machine
    // sometimes refuses to create a process.
    static ProgramRun
    Of(const QString& program, const QStringList& arguments,
       const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());
};
