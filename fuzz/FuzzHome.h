#pragma once

#include <QByteArrayView>
#include <QString>

// The world a fuzz target of the windows runs in: an offscreen QApplication
// made once, a program folder for the data file and a settings store of its
// own, all in the fuzzer's own folder (FuzzFolder).
namespace FuzzHome {

// Call once, from LLVMFuzzerInitialize.
void Start(int* argc, char*** argv);

QString ProgramFolder();
// The data file's path, built as the board builds it.
QString DataFile();
void WriteDataFile(QByteArrayView bytes);

// Empties the settings store, so that nothing one input stored is seen by
// the next.
void FreshStore();
// The file the settings store keeps its values in.
QString StoreFile();

} // namespace FuzzHome
