#include "tools/sim/behaviour.h"

#include <array>
#include <charconv>
#include <utility>

namespace lexorant::sim {

namespace {
constexpr std::array<std::pair<std::string_view, FaultKind>, 5> kFaultNames = {{
    {"checksum", FaultKind::WrongChecksum},
    {"missing", FaultKind::MissingCharacter},
    {"zero", FaultKind::ZeroByte},
    {"lower", FaultKind::LowerCaseHex},
    {"none", FaultKind::NoAnswer},
}};
} // namespace

std::optional<EntryFault> ParseEntryFault(std::string_view text) {
    if (text.size() < 2 || (text[0] != 'G' && text[0] != 'X') || text[1] != ':')
        return std::nullopt;
    const auto second = text.find(':', 2);
    if (second == std::string_view::npos)
        return std::nullopt;
    EntryFault fault;
    fault.letter = text[0];
    const std::string_view number = text.substr(2, second - 2);
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), fault.index);
    if (number.empty() || error != std::errc{} || end != number.data() + number.size())
        return std::nullopt;
    const std::string_view kind = text.substr(second + 1);
    for (const auto& [name, value] : kFaultNames) {
        if (kind == name) {
            fault.kind = value;
            return fault;
        }
    }
    return std::nullopt;
}

} // namespace lexorant::sim
