#include "settings/page_clock_services.h"

namespace {
ClockPageServices g_services;
}  // namespace

const ClockPageServices& PageServices() { return g_services; }

ClockPageServices SetPageServices(const ClockPageServices& services) {
    ClockPageServices old = g_services;
    g_services = services;
    return old;
}
