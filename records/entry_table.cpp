#include "records/entry_table.h"

#include "records/cell_text.h"
#include "records/entry_message.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <map>
#include <thread>

namespace lexorant {

namespace {

constexpr std::string_view kMessageTextHeading = "Message text";
// Below this a second thread costs more than it saves.
constexpr std::size_t kEntriesForTwoThreads = 2048;

// The message text of each entry, looked up once per code: row 4 holds the code and nothing else.
class MessageTexts {
public:
    explicit MessageTexts(std::string_view decimalSeparator) : separator_(decimalSeparator) {}

    const std::string& For(const EntryLayout& layout, const std::uint8_t* slot) {
        const std::int16_t code = EntryMessageCode(slot);
        auto it = texts_.find(code);
        if (it == texts_.end())
            it = texts_.emplace(code, MessageTextOfSlot(layout, slot, separator_)).first;
        return it->second;
    }

private:
    std::string_view separator_;
    std::map<std::int16_t, std::string> texts_;
};

struct Style {
    TableFormat format;
    std::string_view decimalSeparator;
    char fieldSeparator;
    std::string_view lineEnd;
};

Style StyleFor(TableFormat format, std::string_view decimalSeparator) {
    const bool csv = format == TableFormat::Csv;
    return {format, decimalSeparator, csv ? CsvFieldSeparator(decimalSeparator) : '\t', csv ? "\r\n" : "\n"};
}

void AppendTextField(std::string& out, const Style& style, std::string_view text) {
    if (style.format == TableFormat::Csv)
        AppendCsvField(out, text, style.fieldSeparator);
    else
        out += text;
}

void AppendHeadingLine(std::string& out, const EntryLayout& layout, const Style& style) {
    for (int row = 0; row < layout.RowCount(); ++row) {
        AppendTextField(out, style, layout.Heading(row));
        out += style.fieldSeparator;
    }
    AppendTextField(out, style, kMessageTextHeading);
    out += style.lineEnd;
}

void AppendTextLine(std::string& out, const EntryLayout& layout, const std::uint8_t* slot, int number,
                    const Style& style, MessageTexts& messages) {
    if (slot == nullptr) {
        out.append(static_cast<std::size_t>(layout.RowCount()), style.fieldSeparator);
        out += style.lineEnd;
        return;
    }
    const char special[] = {style.fieldSeparator, '"', '\r', '\n'};
    for (int row = 0; row < layout.RowCount(); ++row) {
        // Written in place; the rare text that needs quotes is written again.
        const std::size_t start = out.size();
        AppendCellText(out, layout, slot, number, row, style.decimalSeparator);
        if (style.format == TableFormat::Csv && std::string_view(out).substr(start).find_first_of(
                                                    std::string_view(special, 4)) != std::string_view::npos) {
            const std::string cell = out.substr(start);
            out.resize(start);
            AppendCsvField(out, cell, style.fieldSeparator);
        }
        out += style.fieldSeparator;
    }
    AppendTextField(out, style, messages.For(layout, slot));
    out += style.lineEnd;
}

template <typename T> void AppendShortest(std::string& out, T value) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    out.append(buffer, end);
}

void AppendJsonValue(std::string& out, const FieldDef& field, const std::uint8_t* slot) {
    if (!FieldCarried(field, slot)) {
        out += "null";
        return;
    }
    switch (field.rule) {
    case TextRule::Integer:
        AppendIntegerText(out, FieldRaw(field, slot));
        return;
    case TextRule::Float: {
        const auto value = std::bit_cast<float>(static_cast<std::uint32_t>(FieldRaw(field, slot)));
        if (std::isfinite(value))
            AppendShortest(out, value);
        else
            out += "null";
        return;
    }
    case TextRule::Hundredths:
    case TextRule::HalfHours:
        AppendShortest(out, FieldNumber(field, slot));
        return;
    case TextRule::Date:
    case TextRule::Time:
    case TextRule::Bits: {
        std::string text;
        AppendFieldText(text, field, slot, ".");
        AppendJsonString(out, text);
        return;
    }
    case TextRule::None:
        out += "null";
        return;
    }
}

void AppendJsonEntry(std::string& out, const EntryLayout& layout, const std::uint8_t* slot, int number,
                     MessageTexts& messages, bool first) {
    if (slot == nullptr)
        return;
    out += first ? "\n{" : ",\n{";
    AppendJsonString(out, kNumberHeading);
    out += ':';
    AppendIntegerText(out, number);
    for (int row = 1; row < layout.RowCount(); ++row) {
        const FieldDef* field = layout.FieldAt(row);
        if (field == nullptr)
            continue;
        out += ',';
        AppendJsonString(out, field->name);
        out += ':';
        AppendJsonValue(out, *field, slot);
    }
    out += ',';
    AppendJsonString(out, kMessageTextHeading);
    out += ':';
    AppendJsonString(out, messages.For(layout, slot));
    out += '}';
}

// Appends entries [begin, end) as lines or JSON objects; entry(i) gives the slot and number of line i.
template <typename Entry>
void FormatPart(std::string& out, const EntryLayout& layout, const Entry& entry, std::size_t begin,
                std::size_t end, const Style& style) {
    out.reserve(out.size() + (end - begin) * static_cast<std::size_t>(layout.RowCount()) * 8);
    MessageTexts messages(style.decimalSeparator);
    bool first = true;
    for (std::size_t i = begin; i < end; ++i) {
        const NumberedEntry e = entry(i);
        if (style.format == TableFormat::Json) {
            AppendJsonEntry(out, layout, e.slot, e.number, messages, first);
            first = first && e.slot == nullptr;
        } else {
            AppendTextLine(out, layout, e.slot, e.number, style, messages);
        }
    }
}

template <typename Entry>
std::string FormatTable(const EntryLayout& layout, std::size_t count, const Entry& entry, TableFormat format,
                        std::string_view decimalSeparator) {
    const Style style = StyleFor(format, decimalSeparator);
    std::string out;
    if (format == TableFormat::Json)
        out += '[';
    else
        AppendHeadingLine(out, layout, style);

    const std::size_t half = count >= kEntriesForTwoThreads ? count / 2 : count;
    std::string second;
    std::thread helper;
    if (half < count)
        helper = std::thread([&] { FormatPart(second, layout, entry, half, count, style); });
    const std::size_t headingEnd = out.size();
    FormatPart(out, layout, entry, 0, half, style);
    if (helper.joinable())
        helper.join();

    if (format == TableFormat::Json && out.size() > headingEnd && !second.empty())
        out += ','; // each part opens its first object as if it were the array's first
    out += second;
    out += format == TableFormat::Json ? "\n]\n" : "";
    return out;
}

} // namespace

char CsvFieldSeparator(std::string_view decimalSeparator) {
    return decimalSeparator == "," ? ';' : ',';
}

void AppendCsvField(std::string& out, std::string_view text, char fieldSeparator) {
    const char special[] = {fieldSeparator, '"', '\r', '\n', '\0'};
    if (text.find_first_of(std::string_view(special, 4)) == std::string_view::npos) {
        out += text;
        return;
    }
    out += '"';
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

void AppendJsonString(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            out += "\\u00";
            out += kHex[u >> 4];
            out += kHex[u & 0xF];
        } else {
            out += c;
        }
    }
    out += '"';
}

std::string FormatEntryTable(const EntryLayout& layout, std::span<const std::uint8_t* const> entries,
                             TableFormat format, std::string_view decimalSeparator) {
    return FormatTable(
        layout, entries.size(),
        [&](std::size_t i) {
            return NumberedEntry{entries[i], static_cast<int>(i + 1)};
        },
        format, decimalSeparator);
}

std::string FormatNumberedEntryTable(const EntryLayout& layout, std::span<const NumberedEntry> entries,
                                     TableFormat format, std::string_view decimalSeparator) {
    return FormatTable(
        layout, entries.size(), [&](std::size_t i) { return entries[i]; }, format, decimalSeparator);
}

} // namespace lexorant
