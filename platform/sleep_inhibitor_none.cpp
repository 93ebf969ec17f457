#include "platform/sleep_inhibitor.h"

namespace lexorant {

// Built without libsystemd: nothing to ask.
SleepInhibitor::SleepInhibitor(const std::string&) : failure_("built without systemd's D-Bus library") {}

SleepInhibitor::~SleepInhibitor() = default;

} // namespace lexorant
