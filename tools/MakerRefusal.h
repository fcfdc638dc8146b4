#pragma once

#include <QString>
#include <stdexcept>

// Why the maker will not make a puzzle: a message for the person running it.
class MakerRefusal : public std::runtime_error {
public:
    explicit MakerRefusal(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}

    const QString& Message() const { return message_; }

private:
    QString message_;
};
