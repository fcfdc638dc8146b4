#include "outside/TerminationSignals.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#ifdef Q_OS_UNIX
namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};
constexpr int kSignalCount = int(sizeof kSignals / sizeof kSignals[0]);

// A signal handler may do almost nothing; it writes the signal's number to
// a socket that the event loop watches, and the rest happens there.
int wakeSockets[2] = {-1, -1};
struct sigaction earlierHandlers[kSignalCount];

extern "C" void WakeOnSignal(int number) {
    const int savedErrno = errno;
    const char byte = char(number);
    [[maybe_unused]] const ssize_t written = ::write(wakeSockets[0], &byte, 1);
    errno = savedErrno;
}

bool MakeNonBlocking(int socket) {
    const int flags = ::fcntl(socket, F_GETFL);
    return flags != -1 && ::fcntl(socket, F_SETFL, flags | O_NONBLOCK) != -1 &&
           ::fcntl(socket, F_SETFD, FD_CLOEXEC) != -1;
}

bool OpenWakeSockets() {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, wakeSockets) != 0)
        return false;
    if (MakeNonBlocking(wakeSockets[0]) && MakeNonBlocking(wakeSockets[1]))
        return true;
    ::close(wakeSockets[0]);
    ::close(wakeSockets[1]);
    wakeSockets[0] = wakeSockets[1] = -1;
    return false;
}

// A signal the program was started to ignore (SIGHUP under nohup) stays
// ignored.
void InstallHandlers() {
    struct sigaction action = {};
    action.sa_handler = WakeOnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (int i = 0; i < kSignalCount; ++i) {
        ::sigaction(kSignals[i], nullptr, &earlierHandlers[i]);
        if (earlierHandlers[i].sa_handler != SIG_IGN)
            ::sigaction(kSignals[i], &action, nullptr);
    }
}

void RestoreHandlers() {
    for (int i = 0; i < kSignalCount; ++i)
        ::sigaction(kSignals[i], &earlierHandlers[i], nullptr);
}

} // namespace
#endif

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
#ifdef Q_OS_UNIX
    if (wakeSockets[0] == -1 && OpenWakeSockets()) {
        notifier_ = new QSocketNotifier(wakeSockets[1], QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this,
                &TerminationSignals::ReadPendingSignals);
        InstallHandlers();
    }
#endif
#ifndef QT_NO_SESSIONMANAGER
    if (qGuiApp)
        connect(qGuiApp, &QGuiApplication::commitDataRequest, this,
                &TerminationSignals::EndRequested);
#endif
}

TerminationSignals::~TerminationSignals() {
#ifdef Q_OS_UNIX
    if (!notifier_)
        return;
    RestoreHandlers();
    delete notifier_;
    ::close(wakeSockets[0]);
    ::close(wakeSockets[1]);
    wakeSockets[0] = wakeSockets[1] = -1;
#endif
}

// Several signals may be waiting; one request covers them all.
void TerminationSignals::ReadPendingSignals() {
#ifdef Q_OS_UNIX
    char bytes[16];
    bool any = false;
    while (::read(wakeSockets[1], bytes, sizeof bytes) > 0)
        any = true;
    if (any)
        emit EndRequested();
#endif
}
