#include "support/ProgramRun.h"

#include <QProcess>
#include <QThread>
#include <QtDebug>

ProgramRun ProgramRun::Of(const QString& program, const QStringList& arguments,
                          const QProcessEnvironment& environment) {
    ProgramRun run;
    for (int attempt = 1; attempt <= 3; ++attempt) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        process.closeWriteChannel();
        if (!process.waitForStarted(60000)) {
            qWarning("%s did not start (attempt %d): %s", qPrintable(program), attempt,
                     qPrintable(process.errorString()));
            QThread::msleep(500);
            continue;
        }
        const bool ended = process.waitForFinished(120000);
        run.out = process.readAllStandardOutput();
        run.err = process.readAllStandardError();
        if (!ended || process.exitStatus() != QProcess::NormalExit) {
            qWarning("%s %s did not end by itself: %s\n%s", qPrintable(program),
                     qPrintable(arguments.join(u' ')), qPrintable(process.errorString()),
                     run.err.constData());
            return run;
        }
        run.exitCode = process.exitCode();
        return run;
    }
    return run;
}
