#pragma once

#include <QByteArrayView>
#include <QString>

// What every fuzz target needs, with no application object: a folder of its
// own and the way bytes become text.
namespace FuzzFolder {

// The fuzzer's own temporary folder (in /dev/shm when there is one, since
// every input writes to it), made on the first call and removed when the
// fuzzer ends normally. Its name carries the process number: a fuzzer
// stopped by a crash leaves it, and the next one takes away those whose
// process is gone.
QString Path();

// Bytes as the program would get them from a store or a person: UTF-8 when
// they are valid UTF-8, Latin-1 otherwise.
QString DecodeText(QByteArrayView bytes);

} // namespace FuzzFolder
