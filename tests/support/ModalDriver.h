#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

class QWidget;

// Answers the next modal window the code under test opens: polls for it
// every 10 ms, hands it to `act`, and rejects it if it is still open after
// the deadline so a test can never hang on it. Dies with the test.
class ModalDriver : public QObject {
    Q_OBJECT

public:
    explicit ModalDriver(std::function<void(QWidget*)> act, int deadlineMs = 5000);

    bool Acted() const { return acted_; }
    bool TimedOut() const { return timedOut_; }

private:
    void Poll();

    std::function<void(QWidget*)> act_;
    QTimer timer_;
    int remainingMs_;
    bool acted_ = false;
    bool timedOut_ = false;
};
