#include "support/StandInPerson.h"

StandInPerson::StandInPerson() : previous_(PersonStandIn::Current()) {
    PersonStandIn::Install(this);
}

StandInPerson::~StandInPerson() {
    PersonStandIn::Install(previous_);
}

int StandInPerson::Count(const QString& what) const {
    int count = 0;
    for (const Asked& question : asked)
        count += question.what == what ? 1 : 0;
    return count;
}

bool StandInPerson::AnswerYesNo(const QString& text, const QString& title) {
    asked.append({"yesno", text, title});
    if (yesNoAnswers.empty())
        return true;
    const bool answer = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return answer;
}

void StandInPerson::Acknowledge(Notice kind, const QString& text, const QString& title) {
    asked.append({kind == Notice::Error ? "error" : "information", text, title});
}

bool StandInPerson::PickColour(qint32& colour) {
    asked.append({"colour", QString::number(colour), QString()});
    lastOfferedColour = colour;
    if (colourAnswers.empty())
        return false;
    const std::optional<qint32> answer = colourAnswers.front();
    colourAnswers.pop_front();
    if (!answer)
        return false;
    colour = *answer;
    return true;
}

bool StandInPerson::PickFont(FontChoice& font, int, int) {
    asked.append({"font", font.name, QString::number(font.size)});
    lastOfferedFont = font;
    if (fontAnswers.empty())
        return false;
    const std::optional<FontChoice> answer = fontAnswers.front();
    fontAnswers.pop_front();
    if (!answer)
        return false;
    font = *answer;
    return true;
}

bool StandInPerson::PickFile(QString& path, const QString& title, const QString& filter) {
    asked.append({"file", path, title});
    lastFileFilter = filter;
    if (fileAnswers.empty())
        return false;
    const std::optional<QString> answer = fileAnswers.front();
    fileAnswers.pop_front();
    if (!answer)
        return false;
    path = *answer;
    return true;
}

void StandInPerson::OpenAddress(const QString& address) {
    asked.append({"open", address, QString()});
    openedAddresses.append(address);
}
