#include "head_texts.h"

#include "cell_text.h"

#include <array>

namespace lexorant {

namespace {

constexpr std::array<const char*, kHeadRowCount> kHeadings = {
    "No.",           "Type",       "Date",       "Time",     "Message",      "Act. Status",
    "Pump",          "Compressor", "Heater",     "Setpoint", "2nd Setpoint", "Mains Frequency",
    "Mains Voltage", "Ext.Status", "Compressor", "Fan",      "NTR"};

// ActStatus bits.
constexpr int kPumpOn = 0x0001;
constexpr int kCompressorState = 0x0006;
constexpr int kHeaterOn = 0x0008;
constexpr int kSetpointSource = 0x0070;
constexpr int kSecondSetpointActive = 0x0080;
constexpr int kMains60Hz = 0x0100;
constexpr int kMains400V = 0x0200;
// ExtStatus bits.
constexpr int kCompressorOn = 0x0001;
constexpr int kFanOn = 0x0004;
constexpr int kNtrOn = 0x0008;

// Bit tests look at the stored 16 bits, whatever the sign of the word.
bool Bit(std::int16_t word, int mask) {
    return (static_cast<std::uint16_t>(word) & mask) != 0;
}

QString OnOff(bool on) {
    return on ? QStringLiteral("on") : QStringLiteral("off");
}

QString CompressorStateText(std::int16_t act) {
    static constexpr std::array<const char*, 4> kTexts = {"off", "starting", "on", "stopping"};
    return QString::fromLatin1(kTexts[(static_cast<std::uint16_t>(act) & kCompressorState) >> 1]);
}

QString SetpointSourceText(std::int16_t act) {
    static constexpr std::array<const char*, 8> kTexts = {"manual",     "ramp",    "program", "AIF",
                                                          "ext. Pt100", "unknown", "unknown", "unknown"};
    return QString::fromLatin1(kTexts[(static_cast<std::uint16_t>(act) & kSetpointSource) >> 4]);
}

// An entry of type 0 does not carry the mains bits.
bool MainsKnown(const InfoHead& head) {
    return head.EntryType >= 1;
}

} // namespace

QString NotCarriedText() {
    return QStringLiteral("???");
}

QString HeadRowHeading(int row) {
    if (row < 0 || row >= kHeadRowCount) {
        return {};
    }
    return QString::fromLatin1(kHeadings[static_cast<std::size_t>(row)]);
}

QString HeadCellText(const InfoHead& head, int number, int row) {
    switch (row) {
    case 0:
        return IntegerText(number);
    case 1:
        return IntegerText(head.EntryType);
    case 2:
        return DateText(head.TimeStamp);
    case 3:
        return TimeText(head.TimeStamp);
    case 4:
        return IntegerText(head.MessageCode);
    case 5:
        return IntegerText(head.ActStatus);
    case 6:
        return OnOff(Bit(head.ActStatus, kPumpOn));
    case 7:
        return CompressorStateText(head.ActStatus);
    case 8:
        return OnOff(Bit(head.ActStatus, kHeaterOn));
    case 9:
        return SetpointSourceText(head.ActStatus);
    case 10:
        return Bit(head.ActStatus, kSecondSetpointActive) ? QStringLiteral("active")
                                                          : QStringLiteral("inactive");
    case 11:
        if (!MainsKnown(head)) {
            return NotCarriedText();
        }
        return Bit(head.ActStatus, kMains60Hz) ? QStringLiteral("60 Hz") : QStringLiteral("50 Hz");
    case 12:
        if (!MainsKnown(head)) {
            return NotCarriedText();
        }
        return Bit(head.ActStatus, kMains400V) ? QStringLiteral("400 V") : QStringLiteral("230 V");
    case 13:
        return IntegerText(head.ExtStatus);
    case 14:
        return OnOff(Bit(head.ExtStatus, kCompressorOn));
    case 15:
        return OnOff(Bit(head.ExtStatus, kFanOn));
    case 16:
        return OnOff(Bit(head.ExtStatus, kNtrOn));
    default:
        return {};
    }
}

} // namespace lexorant
