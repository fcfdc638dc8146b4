#include "FuzzHome.h"
#include "FuzzFolder.h"

#include "outside/AppServices.h"
#include "outside/MessageCatalogue.h"
#include "outside/PersonStandIn.h"
#include "outside/ProductInfo.h"
#include "outside/RegistryStore.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <cstdio>
#include <cstdlib>

namespace {

// Nothing a fuzz target does should ever put a question to the player: a
// window waiting for an answer would stop the fuzzer, so fail instead.
class NobodyThere : public PersonStandIn {
public:
    bool AnswerYesNo(const QString& text, const QString&) override { Fail("a question", text); }
    // Except the notice that a damaged settings file was set aside, which
    // inputs that are whole settings files bring about.
    void Acknowledge(Notice kind, const QString& text, const QString&) override {
        if (kind != Notice::Information ||
            !text.startsWith(MessageCatalogue::Text(11400).section(QStringLiteral("%1"), 0, 0)))
            Fail("a message", text);
    }
    bool PickColour(qint32&) override { Fail("the colour picker", {}); }
    bool PickFont(FontChoice&, int, int) override { Fail("the font picker", {}); }
    bool PickFile(QString&, const QString&, const QString&) override {
        Fail("the file picker", {});
    }
    void OpenAddress(const QString& address) override { Fail("an address", address); }

private:
    [[noreturn]] static void Fail(const char* what, const QString& text) {
        std::fprintf(stderr, "The program showed %s to the player: %s\n", what, qPrintable(text));
        std::abort();
    }
};

} // namespace

void FuzzHome::Start(int* argc, char*** argv) {
    const QDir root(FuzzFolder::Path());
    for (const char* sub : {"program", "config", "runtime"})
        root.mkpath(QLatin1String(sub));
    QFile::setPermissions(root.filePath(QStringLiteral("runtime")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(root.filePath(QStringLiteral("config"))));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(root.filePath(QStringLiteral("runtime"))));
    qputenv("QT_LOGGING_RULES", "qt.qpa.*=false");

    static int qtArgc = 1;
    static char* qtArgv[] = {(*argv)[0], nullptr};
    Q_UNUSED(argc);
    new QApplication(qtArgc, qtArgv); // never destroyed: libFuzzer exits past main

    RegistryStore::SetFolder(root.filePath(QStringLiteral("config")));
    AppServices::SetProgramFolder(ProgramFolder());
    static NobodyThere nobody;
    PersonStandIn::Install(&nobody);
    FreshStore();
}

QString FuzzHome::ProgramFolder() {
    return QDir(FuzzFolder::Path()).filePath(QStringLiteral("program"));
}

QString FuzzHome::DataFile() {
    return AppServices().AddPathSeparator(ProgramFolder()) + ProductInfo().GetDataFileName(2);
}

void FuzzHome::WriteDataFile(QByteArrayView bytes) {
    QFile file(DataFile());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes.data(), bytes.size()) != bytes.size())
        qFatal("cannot write %s", qPrintable(DataFile()));
}

void FuzzHome::FreshStore() {
    // The same file each time, with the damaged copies set beside it gone:
    // a new folder per input would grow Qt's cache of settings files, and
    // with it the heap, on every input.
    QDir(QFileInfo(StoreFile()).path()).removeRecursively();
}

QString FuzzHome::StoreFile() {
    return RegistryStore::FileName(ProductInfo().GetRegistryKey(2, 0));
}
