#pragma once

#include <QString>

// What the program asks of a person: questions, notices and pickers. The
// player answers through real windows (RealPerson); tests and fuzzers
// install a stand-in that answers at once. The program reaches whoever
// answers through Person only.
class PersonStandIn {
public:
    enum class Notice { Information, Error };

    struct FontChoice {
        QString name;
        int size = 0;
        bool bold = false;
        bool italic = false;
        qint32 colour = 0;
    };

    virtual ~PersonStandIn() = default;

    virtual bool AnswerYesNo(const QString& text, const QString& title) = 0;
    virtual void Acknowledge(Notice kind, const QString& text, const QString& title) = 0;
    virtual bool PickColour(qint32& colour) = 0;
    virtual bool PickFont(FontChoice& font, int minSize, int maxSize) = 0;
    virtual bool PickFile(QString& path, const QString& title, const QString& filter) = 0;
    virtual void OpenAddress(const QString& address) = 0;

    // nullptr puts the real person back.
    static void Install(PersonStandIn* standIn);
    static PersonStandIn* Current();
};
