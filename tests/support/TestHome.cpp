#include "support/TestHome.h"

#include "board/ctlCuadricula.h"
#include "outside/AppServices.h"
#include "outside/ProductInfo.h"
#include "outside/RegistryStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

TestHome::TestHome() {
    QDir(dir_.path()).mkpath(QStringLiteral("program"));
    QDir(dir_.path()).mkpath(QStringLiteral("config"));
    AppServices::SetProgramFolder(ProgramFolder());
    RegistryStore::SetFolder(ConfigFolder());
}

TestHome::~TestHome() {
    AppServices::SetProgramFolder(QString());
    RegistryStore::SetFolder(QString());
}

QString TestHome::ProgramFolder() const {
    return dir_.filePath(QStringLiteral("program"));
}

QString TestHome::DataFile() const {
    return ProgramFolder() + QLatin1Char('/') + ProductInfo().GetDataFileName(2);
}

QString TestHome::ConfigFolder() const {
    return dir_.filePath(QStringLiteral("config"));
}

void TestHome::WriteDataFile(const QString& content) const {
    WriteDataFileBytes(content.toUtf8());
}

void TestHome::WriteDataFileBytes(const QByteArray& content) const {
    QFile file(DataFile());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(DataFile()));
    file.write(content);
    // Two writes within one tick of the file system's clock could leave the
    // same size and times: a reader that keeps its parse would not see the
    // second. Each write gets a time of its own.
    static qint64 writes = 0;
    file.flush();
    file.setFileTime(QDateTime::currentDateTime().addSecs(-86400 + ++writes),
                     QFileDevice::FileModificationTime);
    file.close();
}

QString TestHome::Stored(qint32 game, const QString& name) const {
    return RegistryStore()
        .ReadValue(RegistryStore::CurrentUser, ProductInfo().GetRegistryKey(2, game), name)
        .toString();
}

bool TestHome::IsStored(qint32 game, const QString& name) const {
    return RegistryStore()
        .ReadValue(RegistryStore::CurrentUser, ProductInfo().GetRegistryKey(2, game), name)
        .isValid();
}

void TestHome::Store(qint32 game, const QString& name, const QString& value) const {
    RegistryStore().WriteValue(RegistryStore::CurrentUser, ProductInfo().GetRegistryKey(2, game),
                               name, value, RegistryStore::Text);
}

QString PuzzleSection(int number, const QString& title, int columns, int rows,
                      const QString& letters, const QString& words, const QString& solution) {
    return QStringLiteral("[%1]\nTitulo=%2\nCantAncho=%3\nCantAlto=%4\nLetras=%5\nPalabras=%6\n"
                          "Solucion=%7\n\n")
        .arg(number)
        .arg(title)
        .arg(columns)
        .arg(rows)
        .arg(letters, words, solution);
}

void OpenPuzzle(ctlCuadricula& board, int number) {
    board.SetNumeroJuego(number);
    board.LoadPuzzle();
    board.Refresh(true);
}
