#pragma once
// What kind of message a code is, after the runs in which the controller numbers its messages.
#include <cstdint>
#include <string_view>

namespace lexorant {

enum class MessageKind { Fault, Warning, Note, Event, None, Unknown };

// "None" for 0, the kind of its run for a code in one (whether or not the catalogue holds its text yet:
// a fault the catalogue has no text for is a fault all the same), "Unknown" for a code in no run.
MessageKind KindOfMessage(std::int16_t code);

// "Fault", "Warning", "Note", "Event", "None", "Unknown".
std::string_view KindName(MessageKind kind);

// KindOfMessage(code) == MessageKind::Fault.
bool IsFaultMessage(std::int16_t code);

} // namespace lexorant
