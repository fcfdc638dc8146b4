#pragma once

#include "outside/PersonStandIn.h"

#include <QList>
#include <QString>
#include <deque>
#include <functional>
#include <optional>

// Answers every question and picker at once and records what was asked.
// Installed for its lifetime; queue the answers a test needs before acting.
class StandInPerson : public PersonStandIn {
public:
    struct Asked {
        QString what; // "yesno", "information", "error", "colour", "font", "file", "open"
        QString text;
        QString title;
    };

    StandInPerson();
    ~StandInPerson() override;

    // Answers used in order; when a queue runs dry: Yes, cancel the pickers.
    std::deque<bool> yesNoAnswers;
    std::deque<std::optional<qint32>> colourAnswers;   // nullopt: cancel
    std::deque<std::optional<FontChoice>> fontAnswers; // nullopt: cancel
    std::deque<std::optional<QString>> fileAnswers;    // nullopt: cancel
    // Colour offered to the last colour picker, font offered to the last font picker.
    qint32 lastOfferedColour = 0;
    FontChoice lastOfferedFont;
    QString lastFileFilter;

    QList<Asked> asked;
    QStringList openedAddresses;

    int Count(const QString& what) const;

    bool AnswerYesNo(const QString& text, const QString& title) override;
    void Acknowledge(Notice kind, const QString& text, const QString& title) override;
    bool PickColour(qint32& colour) override;
    bool PickFont(FontChoice& font, int minSize, int maxSize) override;
    bool PickFile(QString& path, const QString& title, const QString& filter) override;
    void OpenAddress(const QString& address) override;

private:
    PersonStandIn* previous_;
};
