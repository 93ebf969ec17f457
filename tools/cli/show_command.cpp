#include "tools/cli/commands.h"
#include "tools/cli/option_parser.h"
#include "records/entry_layout.h"
#include "records/entry_table.h"
#include "file/read_out_file.h"
#include "platform/decimal_separator.h"
#include "readout/record_store.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace lexorant::cli {

namespace {

struct ShowOptions {
    std::string file;
    char block = 'G';
    TableFormat format = TableFormat::Tsv;
};

std::optional<ShowOptions> ParseShowOptions(const Arguments& args) {
    ShowOptions options;
    OptionParser parser("show");
    parser.Value("--block", [&](const std::string& v) {
        if (v != "G" && v != "X" && v != "g" && v != "x")
            return parser.Fail("--block takes G or X, not '" + v + "'");
        options.block = static_cast<char>(v[0] & ~0x20);
        return true;
    });
    FormatOption(parser, options.format);
    parser.Argument(options.file, true);
    if (!parser.Parse(args))
        return std::nullopt;
    if (options.file.empty()) {
        parser.Fail("FILE is missing");
        return std::nullopt;
    }
    return options;
}

} // namespace

namespace {

void SayUnableToOpen(const std::string& file) {
    std::fprintf(stderr, "Unable to open file %s\n", file.c_str());
}

void SayPartial(const std::string& file, const std::string& serial, const EntrySet& in) {
    std::fprintf(stderr, "%s is a partial read-out of %s: %zu of %zu entries have been read\n", file.c_str(),
                 serial.c_str(), in.Count(), in.Size());
}

} // namespace

std::optional<ReadOutFile> LoadReadOut(const std::string& file, RecordStore& store) {
    ReadOutFile load = LoadReadOutFile(file, store);
    if (!load.readable) {
        SayUnableToOpen(file);
        return std::nullopt;
    }
    if (load.partial)
        SayPartial(file, load.serial, load.in);
    return load;
}

std::optional<ReadOutData> LoadReadOutData(const std::string& file) {
    std::optional<ReadOutData> data = lexorant::LoadReadOut(file);
    if (!data)
        SayUnableToOpen(file);
    else if (data->partial)
        SayPartial(file, data->serial, data->in);
    return data;
}

int Show(const Arguments& args) {
    const auto options = ParseShowOptions(args);
    if (!options)
        return 1;
    RecordStore store;
    const auto load = LoadReadOut(options->file, store);
    if (!load)
        return 1;
    const bool g = options->block == 'G';
    const EntryLayout& layout = g ? GInfoLayout() : XInfoLayout(store.XInfo.InfoType);
    const std::size_t slotSize = g ? kGInfoSlotSize : kXInfoSlotSize;
    const std::vector<std::uint8_t>& slots = g ? store.GInfoSlots : store.XInfoSlots;
    const std::size_t count =
        std::min<std::size_t>(g ? store.GInfo.EntryCount : store.XInfo.EntryCount, slots.size() / slotSize);
    std::vector<const std::uint8_t*> entries(count);
    // An entry that a partial read-out lacks is an empty line, not one of zeros.
    for (std::size_t i = 0; i < count; ++i)
        entries[i] = load->in.Has({g ? InfoBlock::GInfo : InfoBlock::XInfo, static_cast<std::uint16_t>(i)})
                         ? slots.data() + i * slotSize
                         : nullptr;

    const std::string text = FormatEntryTable(layout, entries, options->format, UserDecimalSeparator());
    std::fwrite(text.data(), 1, text.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

} // namespace lexorant::cli
