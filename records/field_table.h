#pragma once
// How one field of an entry is described: where its bytes lie, which grid row shows it and how, and
// what it measures. The tables of entry_fields.h are made of these.
#include <array>
#include <cstddef>
#include <span>
#include <string_view>

namespace lexorant {

enum class FieldKind : unsigned char {
    Unsigned, // little-endian, 1, 2 or 4 bytes
    Signed,   // little-endian two's complement, 1 or 2 bytes
    Float,    // 4-byte IEEE single precision
    Bytes,    // several one-byte parts (the date and the time) or bytes not interpreted
};

enum class TextRule : unsigned char {
    None,       // not shown
    Integer,    // plain decimal
    Hundredths, // float text of value / 100
    Float,      // float text
    HalfHours,  // float text of value / 2
    Date,       // bytes year, month, day shown as day.month.year
    Time,       // bytes hour, minute, second shown as hour:minute:second
    Bits,       // texts[(word & mask) >> lowest bit of mask]
};

enum class Quantity : unsigned char {
    None,
    Temperature,           // °C
    TemperatureDifference, // K
    Share,                 // %
    Duration,              // h
    Frequency,             // Hz
    Voltage,               // V
};

struct FieldDef {
    std::string_view name{}; // empty: bytes not interpreted
    int offset = 0;
    int size = 0;
    FieldKind kind = FieldKind::Bytes;
    int row = -1; // grid row, -1: not shown
    std::string_view heading{};
    TextRule rule = TextRule::None;
    Quantity quantity = Quantity::None;
    unsigned mask = 0; // Bits: the bits of the word at offset that the field takes
    std::span<const std::string_view> texts{};
    // The entry cannot carry the field when its EntryType is below this: the cell shows "???".
    int carriedFromEntryType = 0;
};

// "°C", "K", "%", "h", "Hz", "V" or "" (UTF-8).
std::string_view UnitSymbol(Quantity quantity);

// One table of fields after another, at compile time.
template <std::size_t A, std::size_t B>
constexpr std::array<FieldDef, A + B> JoinFields(const std::array<FieldDef, A>& a, const std::array<FieldDef, B>& b) {
    std::array<FieldDef, A + B> out{};
    for (std::size_t i = 0; i < A; ++i)
        out[i] = a[i];
    for (std::size_t i = 0; i < B; ++i)
        out[A + i] = b[i];
    return out;
}

// The field of that name in a table; a name that is not there stops the compilation where it is used
// in a constant expression.
template <std::size_t N> constexpr const FieldDef& FieldNamed(const std::array<FieldDef, N>& table, std::string_view name) {
    for (const FieldDef& f : table)
        if (f.name == name)
            return f;
    throw "no field of that name";
}

} // namespace lexorant
