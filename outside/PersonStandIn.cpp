#include "outside/PersonStandIn.h"

namespace {
PersonStandIn* installed = nullptr;
}

void PersonStandIn::Install(PersonStandIn* standIn) {
    installed = standIn;
}

PersonStandIn* PersonStandIn::Current() {
    return installed;
}
