#pragma once

#include <QObject>

class QSocketNotifier;

// The platform telling the program to end: SIGTERM, SIGHUP or SIGINT, or
// the desktop session ending. Each comes out as EndRequested on the
// user-interface thread, where the program can still save. A second signal
// of the same kind ends the program at once, as it would without us, in case
// the saves hang. One instance at a time; it puts the earlier handlers back
// when it goes.
class TerminationSignals : public QObject {
    Q_OBJECT

public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

signals:
    void EndRequested();

private:
    void ReadPendingSignals();

    QSocketNotifier* notifier_ = nullptr;
};
