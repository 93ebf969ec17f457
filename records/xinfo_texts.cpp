#include "xinfo_texts.h"

#include "cell_text.h"
#include "head_texts.h"

#include <array>

namespace lexorant {

namespace {

constexpr int kFixedRowCount = 48; // rows 0 to 47, whatever the type

// Rows 17 to 47; rows 0 to 16 are the shared head.
constexpr std::array<const char*, kFixedRowCount - kHeadRowCount> kFixedHeadings = {"Dig. Input",
                                                                                    "DSEin1",
                                                                                    "DSEin2",
                                                                                    "DEin1",
                                                                                    "DEin2",
                                                                                    "DEin3",
                                                                                    "Min. Setpoint",
                                                                                    "Max. Setpoint",
                                                                                    "Setpoint",
                                                                                    "TI",
                                                                                    "TE",
                                                                                    "TR",
                                                                                    "TVE",
                                                                                    "T0",
                                                                                    "TC",
                                                                                    "Expansion Valve",
                                                                                    "Current",
                                                                                    "OT SP Heater",
                                                                                    "OT SP Exp. Vessel",
                                                                                    "OT Heater 1",
                                                                                    "OT Heater 2",
                                                                                    "OT Exp. Vessel",
                                                                                    "Delta T.",
                                                                                    "Heatlimit",
                                                                                    "Coolinglimit",
                                                                                    "KP Int.",
                                                                                    "TN Int.",
                                                                                    "TV Int.",
                                                                                    "KP Ext.",
                                                                                    "TN Ext.",
                                                                                    "TV Ext."};

constexpr std::array<const char*, 4> kTail1Headings = {"TC HT", "T0 HT", "TVE HT", "ExpValve HT"};
constexpr std::array<const char*, 2> kTail2Headings = {"Pump hrs", "Compressor hrs"};
constexpr std::array<const char*, 6> kTail3Headings = {"TC HT",       "T0 HT",    "TVE HT",
                                                       "ExpValve HT", "Pump hrs", "Compressor hrs"};

// DigInputs bits of rows 18 to 22; DEin1 is bit 4, ahead of DEin2 and DEin3 on bits 2 and 3.
constexpr std::array<int, 5> kDigInputBits = {0, 1, 4, 2, 3};

// Type 1 cannot carry rows 49 to 51 for entries of a type below this.
constexpr int kFirstEntryTypeWithHtValues = 4;

QString TailHeading(int xInfoType, int tailRow) {
    const auto i = static_cast<std::size_t>(tailRow);
    switch (xInfoType) {
    case 1:
        return i < kTail1Headings.size() ? QString::fromLatin1(kTail1Headings[i]) : QString();
    case 2:
        return i < kTail2Headings.size() ? QString::fromLatin1(kTail2Headings[i]) : QString();
    case 3:
        return i < kTail3Headings.size() ? QString::fromLatin1(kTail3Headings[i]) : QString();
    default:
        return {};
    }
}

QString RowHeading(int xInfoType, int row) {
    if (row < kHeadRowCount) {
        return HeadRowHeading(row);
    }
    if (row < kFixedRowCount) {
        return QString::fromLatin1(kFixedHeadings[static_cast<std::size_t>(row - kHeadRowCount)]);
    }
    return TailHeading(xInfoType, row - kFixedRowCount);
}

QString FixedCellText(const XInfoRecord& r, int row, QChar sep) {
    switch (row) {
    case 17:
        return IntegerText(static_cast<std::int8_t>(r.DigInputs));
    case 18:
    case 19:
    case 20:
    case 21:
    case 22: {
        const int bit = kDigInputBits[static_cast<std::size_t>(row - 18)];
        return (r.DigInputs >> bit) & 1 ? QStringLiteral("open") : QStringLiteral("closed");
    }
    case 23:
        return HundredthsText(r.MinSetpoint, sep);
    case 24:
        return HundredthsText(r.MaxSetpoint, sep);
    case 25:
        return HundredthsText(r.Setpoint, sep);
    case 26:
        return HundredthsText(r.TI, sep);
    case 27:
        return HundredthsText(r.TE, sep);
    case 28:
        return HundredthsText(r.TR, sep);
    case 29:
        return HundredthsText(r.TVE, sep);
    case 30:
        return HundredthsText(r.T0, sep);
    case 31:
        return HundredthsText(r.TC, sep);
    case 32:
        return IntegerText(r.ExpansionValve);
    case 33:
        return IntegerText(r.Current);
    case 34:
        return HundredthsText(r.OtSpHeater, sep);
    case 35:
        return HundredthsText(r.OtSpExpVessel, sep);
    case 36:
        return HundredthsText(r.OtHeater1, sep);
    case 37:
        return HundredthsText(r.OtHeater2, sep);
    case 38:
        return HundredthsText(r.OtExpVessel, sep);
    case 39:
        return HundredthsText(r.DeltaT, sep);
    case 40:
        return IntegerText(r.HeatLimit);
    case 41:
        return IntegerText(r.CoolingLimit);
    case 42:
        return FloatText(r.KpInt, sep);
    case 43:
        return FloatText(r.TnInt, sep);
    case 44:
        return FloatText(r.TvInt, sep);
    case 45:
        return FloatText(r.KpExt, sep);
    case 46:
        return FloatText(r.TnExt, sep);
    case 47:
        return FloatText(r.TvExt, sep);
    default:
        return {};
    }
}

QString Tail1Text(const XInfoRecord& r, int tailRow, QChar sep) {
    const XInfoTail1 t = r.Tail1();
    if (tailRow >= 1 && tailRow <= 3 && r.EntryType < kFirstEntryTypeWithHtValues) {
        return NotCarriedText();
    }
    switch (tailRow) {
    case 0:
        return HundredthsText(t.TcHt, sep);
    case 1:
        return HundredthsText(t.T0Ht, sep);
    case 2:
        return HundredthsText(t.TveHt, sep);
    case 3:
        return IntegerText(t.ExpValveHt);
    default:
        return {};
    }
}

QString Tail2Text(const XInfoRecord& r, int tailRow, QChar sep) {
    const XInfoTail2 t = r.Tail2();
    switch (tailRow) {
    case 0:
        return HalfHoursText(t.PumpHours, sep);
    case 1:
        return HalfHoursText(t.CompressorHours, sep);
    default:
        return {};
    }
}

QString Tail3Text(const XInfoRecord& r, int tailRow, QChar sep) {
    const XInfoTail3 t = r.Tail3();
    switch (tailRow) {
    case 0:
        return HundredthsText(t.TcHt, sep);
    case 1:
        return HundredthsText(t.T0Ht, sep);
    case 2:
        return HundredthsText(t.TveHt, sep);
    case 3:
        return IntegerText(t.ExpValveHt);
    case 4:
        return HalfHoursText(t.PumpHours, sep);
    case 5:
        return HalfHoursText(t.CompressorHours, sep);
    default:
        return {};
    }
}

} // namespace

int XInfoRowCount(int xInfoType) {
    switch (xInfoType) {
    case 1:
        return kFixedRowCount + static_cast<int>(kTail1Headings.size());
    case 2:
        return kFixedRowCount + static_cast<int>(kTail2Headings.size());
    case 3:
        return kFixedRowCount + static_cast<int>(kTail3Headings.size());
    default:
        return kFixedRowCount;
    }
}

std::vector<QString> XInfoRowHeadings(int xInfoType) {
    const int rows = XInfoRowCount(xInfoType);
    std::vector<QString> headings;
    headings.reserve(static_cast<std::size_t>(rows));
    for (int row = 0; row < rows; ++row) {
        headings.push_back(RowHeading(xInfoType, row));
    }
    return headings;
}

QString XInfoCellText(const XInfoRecord& record, int number, int xInfoType, int row, QChar decimalSeparator) {
    if (row < 0) {
        return {};
    }
    if (row < kHeadRowCount) {
        return HeadCellText(record, number, row);
    }
    if (row < kFixedRowCount) {
        return FixedCellText(record, row, decimalSeparator);
    }
    const int tailRow = row - kFixedRowCount;
    switch (xInfoType) {
    case 1:
        return Tail1Text(record, tailRow, decimalSeparator);
    case 2:
        return Tail2Text(record, tailRow, decimalSeparator);
    case 3:
        return Tail3Text(record, tailRow, decimalSeparator);
    default:
        return {};
    }
}

std::vector<QString> XInfoColumnTexts(int number, const std::uint8_t* slot, int xInfoType,
                                      QChar decimalSeparator) {
    const XInfoRecord record = XInfoRecord::FromSlot(slot);
    const int rows = XInfoRowCount(xInfoType);
    std::vector<QString> texts;
    texts.reserve(static_cast<std::size_t>(rows));
    for (int row = 0; row < rows; ++row) {
        texts.push_back(XInfoCellText(record, number, xInfoType, row, decimalSeparator));
    }
    return texts;
}

} // namespace lexorant
