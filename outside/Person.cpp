#include "outside/Person.h"

#include "outside/RealPerson.h"

Person::Person(qint32 owner) : answering_(PersonStandIn::Current()) {
    if (!answering_) {
        player_ = std::make_unique<RealPerson>(owner);
        answering_ = player_.get();
    }
}

Person::~Person() = default;
