#include "support/ModalDriver.h"

#include <QApplication>
#include <QDialog>
#include <QWidget>

ModalDriver::ModalDriver(std::function<void(QWidget*)> act, int deadlineMs)
    : act_(std::move(act)), remainingMs_(deadlineMs) {
    timer_.setInterval(10);
    connect(&timer_, &QTimer::timeout, this, &ModalDriver::Poll);
    timer_.start();
}

void ModalDriver::Poll() {
    remainingMs_ -= 10;
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal->isVisible()) {
        timer_.stop();
        acted_ = true;
        act_(modal);
        return;
    }
    if (remainingMs_ <= 0) {
        timer_.stop();
        timedOut_ = true;
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->reject();
    }
}
