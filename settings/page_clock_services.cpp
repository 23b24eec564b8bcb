#include "settings/page_clock_services.h"

namespace {
// Built on first use: the installers that fill it run during static
// initialisation of other files, and its defaults are not constants.
ClockPageServices& Services() {
    static ClockPageServices services;
    return services;
}
}  // namespace

const ClockPageServices& PageServices() { return Services(); }

ClockPageServices SetPageServices(const ClockPageServices& services) {
    ClockPageServices old = Services();
    Services() = services;
    return old;
}
