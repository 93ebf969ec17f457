#pragma once
// What kind of message a code is, after the runs in which the controller numbers its messages.
#include <cstdint>
#include <string_view>

namespace lexorant {

enum class MessageKind { Fault, Warning, Note, Event, None, Unknown };

// "None" for 0, "Unknown" for a code the catalogue does not hold, else the kind of its run.
MessageKind KindOfMessage(std::int16_t code);

// "Fault", "Warning", "Note", "Event", "None", "Unknown".
std::string_view KindName(MessageKind kind);

// Whether a code lies in one of the fault runs, whether or not the catalogue holds it yet.
bool IsFaultMessage(std::int16_t code);

} // namespace lexorant
