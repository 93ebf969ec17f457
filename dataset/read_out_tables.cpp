#include "dataset/read_out_tables.h"

#include "catalogue/find_message_text.h"
#include "catalogue/message_kind.h"
#include "readout/entry_time.h"
#include "records/cell_text.h"
#include "records/entry_columns.h"
#include "records/entry_layout.h"
#include "records/entry_table.h"

#include <optional>
#include <unordered_map>

namespace lexorant {

namespace {

constexpr std::size_t kPiece = 256 * 1024;
constexpr char kComma = ',';
constexpr std::string_view kLineEnd = "\r\n";

const char* const kLeadColumns[] = {"read_out", "entry", "time", "code", "kind", "message"};
constexpr std::string_view kDamagedColumn = "damaged";

void AppendField(std::string& out, std::string_view text) {
    AppendCsvField(out, text, kComma);
}

void AppendHeading(std::string& out, const std::vector<std::string>& columns) {
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (i > 0)
            out += kComma;
        out += columns[i];
    }
    out += kLineEnd;
}

std::string_view BooleanText(bool value) {
    return value ? "true" : "false";
}

// "kind,message" of a code, quoted where the text needs it; each code formatted once per table.
class CodeTexts {
public:
    const std::string& For(std::int16_t code) {
        auto it = texts_.find(code);
        if (it == texts_.end()) {
            std::string text(KindName(KindOfMessage(code)));
            text += kComma;
            AppendField(text, MessageTextOf(code));
            it = texts_.emplace(code, std::move(text)).first;
        }
        return it->second;
    }

private:
    std::unordered_map<std::int16_t, std::string> texts_;
};

} // namespace

std::vector<std::string> BlockTableColumns(InfoBlock block) {
    std::vector<std::string> columns(std::begin(kLeadColumns), std::end(kLeadColumns));
    for (const EntryColumn& c : FieldColumns(block))
        columns.emplace_back(c.name);
    columns.emplace_back(kDamagedColumn);
    return columns;
}

bool WriteBlockTable(const ReadOutData& data, InfoBlock block, std::string_view readOut,
                     const std::function<bool(std::string_view)>& sink) {
    const RecordStore& store = data.store;
    const bool g = block == InfoBlock::GInfo;
    const EntryLayout& layout = g ? GInfoLayout() : XInfoLayout(store.XInfo.InfoType);
    const std::vector<const FieldDef*> fields = ColumnFields(layout, FieldColumns(block));
    const std::size_t slots = (g ? store.GInfoSlots.size() : store.XInfoSlots.size()) / SlotSizeOf(block);
    const std::size_t count = std::min<std::size_t>(HeaderOf(store, block).EntryCount, slots);

    std::string lead; // the read-out's path, quoted where it needs it, and the comma after it
    AppendField(lead, readOut);
    lead += kComma;
    std::string tail(1, kComma);
    tail += BooleanText(data.damaged);
    tail += kLineEnd;

    std::string out;
    out.reserve(kPiece + 4096);
    AppendHeading(out, BlockTableColumns(block));
    CodeTexts codes;
    for (std::size_t i = 0; i < count; ++i) {
        const EntryRef entry{block, static_cast<std::uint16_t>(i)};
        if (!data.in.Has(entry))
            continue; // never read: no row, not one of zeros
        const std::uint8_t* slot = SlotOf(store, entry);
        out += lead;
        AppendIntegerText(out, static_cast<std::int64_t>(i) + 1);
        out += kComma;
        AppendIsoTime(out, EntryTimeStamp(slot));
        out += kComma;
        const std::int16_t code = EntryMessageCode(slot);
        AppendIntegerText(out, code);
        out += kComma;
        out += codes.For(code);
        for (const FieldDef* field : fields) {
            out += kComma;
            // The bit fields' words hold no comma, quote or line end: no quoting needed.
            AppendFieldValue(out, field, slot);
        }
        out += tail;
        if (out.size() >= kPiece) {
            if (!sink(out))
                return false;
            out.clear();
        }
    }
    return sink(out);
}

std::vector<std::string> ReadOutTableColumns() {
    return {"read_out",        "serial",      "g_answer_length", "g_info_type", "g_entry_count",
            "x_answer_length", "x_info_type", "x_entry_count",   "g_info_in",   "x_info_in",
            "partial",         "damaged",     "first_time",      "last_time"};
}

std::string ReadOutTable(const ReadOutData& data, std::string_view readOut) {
    std::string out;
    AppendHeading(out, ReadOutTableColumns());
    AppendField(out, readOut);
    out += kComma;
    AppendField(out, data.serial);
    for (const InfoHeader* h : {&data.store.GInfo, &data.store.XInfo})
        for (const std::uint16_t word : {h->AnswerLength, h->InfoType, h->EntryCount}) {
            out += kComma;
            AppendIntegerText(out, word);
        }
    for (const InfoBlock block : {InfoBlock::GInfo, InfoBlock::XInfo}) {
        out += kComma;
        AppendIntegerText(out, static_cast<std::int64_t>(data.in.Count(block)));
    }
    out += kComma;
    out += BooleanText(data.partial);
    out += kComma;
    out += BooleanText(data.damaged);
    std::optional<DatedStamp> first, last;
    data.in.ForEach([&](EntryRef entry) {
        const std::size_t slots =
            (entry.block == InfoBlock::GInfo ? data.store.GInfoSlots.size() : data.store.XInfoSlots.size()) /
            SlotSizeOf(entry.block);
        if (entry.index >= slots)
            return;
        const auto dated = Dated(EntryTimeStamp(SlotOf(data.store, entry)));
        WidenSpan(first, last, dated, dated);
    });
    for (const auto& end : {first, last}) {
        out += kComma;
        if (end)
            AppendIsoTime(out, end->stamp);
    }
    out += kLineEnd;
    return out;
}

} // namespace lexorant
