#pragma once

#include "outside/PersonStandIn.h"

// The player, asked through message boxes and pickers over the window
// owner (0: none). A program without windows has nobody to ask: its
// notices go unsaid and its errors go to the standard error stream.
class RealPerson : public PersonStandIn {
public:
    explicit RealPerson(qint32 owner) : owner_(owner) {}

    // Yes is the default button.
    bool AnswerYesNo(const QString& text, const QString& title) override;
    void Acknowledge(Notice kind, const QString& text, const QString& title) override;
    bool PickColour(qint32& colour) override;
    bool PickFont(FontChoice& font, int minSize, int maxSize) override;
    // filter: pairs of description and patterns separated by '|', as
    // "Pictures|*.bmp;*.gif|All files (*.*)|*.*".
    bool PickFile(QString& path, const QString& title, const QString& filter) override;
    // Hands the address to the system's handler; raises an error when
    // nothing takes it.
    void OpenAddress(const QString& address) override;

private:
    qint32 owner_;
};
