#include "platform/sleep_inhibitor.h"

#include <windows.h>

namespace lexorant {

// The state belongs to the calling thread and ends with ES_CONTINUOUS alone (or with the thread).
SleepInhibitor::SleepInhibitor(const std::string&) {
    if (::SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED) != 0)
        handle_ = 1;
    else
        failure_ = "SetThreadExecutionState failed";
}

SleepInhibitor::~SleepInhibitor() {
    if (handle_ != -1)
        ::SetThreadExecutionState(ES_CONTINUOUS);
}

} // namespace lexorant
