#include "catalogue/message_kind.h"

#include <array>

namespace lexorant {

namespace {

struct Run {
    int low, high;
    MessageKind kind;
};

constexpr std::array<Run, 8> kRuns = {{
    {-1032, -1, MessageKind::Fault},
    {-2119, -2048, MessageKind::Warning},
    {-3129, -3000, MessageKind::Fault},
    {-4153, -4096, MessageKind::Note},
    {-4300, -4200, MessageKind::Fault},
    {-8191, -8190, MessageKind::Fault},
    {-16439, -16384, MessageKind::Event},
    {-20001, -20000, MessageKind::Fault},
}};

const Run* RunOf(int code) {
    for (const Run& r : kRuns)
        if (code >= r.low && code <= r.high)
            return &r;
    return nullptr;
}

} // namespace

MessageKind KindOfMessage(std::int16_t code) {
    if (code == 0)
        return MessageKind::None;
    const Run* run = RunOf(code);
    return run != nullptr ? run->kind : MessageKind::Unknown;
}

std::string_view KindName(MessageKind kind) {
    switch (kind) {
    case MessageKind::Fault:
        return "Fault";
    case MessageKind::Warning:
        return "Warning";
    case MessageKind::Note:
        return "Note";
    case MessageKind::Event:
        return "Event";
    case MessageKind::None:
        return "None";
    case MessageKind::Unknown:
        break;
    }
    return "Unknown";
}

bool IsFaultMessage(std::int16_t code) {
    return KindOfMessage(code) == MessageKind::Fault;
}

} // namespace lexorant
