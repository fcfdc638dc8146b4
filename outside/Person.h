#pragma once

#include "outside/PersonStandIn.h"

#include <memory>

// Whoever answers the program now: the stand-in installed, if any, or else
// the player through real windows over the window owner. Made for one
// question: Person(owner)->PickColour(colour).
class Person {
public:
    explicit Person(qint32 owner = 0);
    ~Person();

    PersonStandIn* operator->() const { return answering_; }

private:
    std::unique_ptr<PersonStandIn> player_;
    PersonStandIn* answering_;
};
