#include "records/field_table.h"

namespace lexorant {

std::string_view UnitSymbol(Quantity quantity) {
    switch (quantity) {
    case Quantity::Temperature:
        return "\u00B0C";
    case Quantity::TemperatureDifference:
        return "K";
    case Quantity::Share:
        return "%";
    case Quantity::Duration:
        return "h";
    case Quantity::Frequency:
        return "Hz";
    case Quantity::Voltage:
        return "V";
    case Quantity::None:
        break;
    }
    return "";
}

} // namespace lexorant
