#include "file/read_out_file.h"
#include "platform/decimal_separator.h"
#include "readout/record_store.h"
#include "records/entry_layout.h"
#include "records/entry_table.h"
#include "tools/cli/commands.h"
#include "tools/cli/option_parser.h"

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
    std::optional<ReadOutData> readOut;
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
    parser.Required(options.file, "FILE is missing");
    parser.LoadsReadOut(options.file, options.readOut);
    if (!parser.Parse(args))
        return std::nullopt;
    return options;
}

} // namespace

std::optional<ReadOutData> LoadReadOut(const std::string& file) {
    auto load = lexorant::LoadReadOut(file);
    if (!load) {
        std::fprintf(stderr, "Unable to open file %s\n", file.c_str());
        return std::nullopt;
    }
    if (load->partial)
        std::fprintf(stderr, "%s is a partial read-out of %s: %zu of %zu entries have been read\n",
                     file.c_str(), load->serial.c_str(), load->in.Count(), load->in.Size());
    return load;
}

int Show(const Arguments& args) {
    const auto options = ParseShowOptions(args);
    if (!options)
        return 1;
    const ReadOutData& readOut = *options->readOut;
    const RecordStore& store = readOut.store;
    const bool g = options->block == 'G';
    const EntryLayout& layout = g ? GInfoLayout() : XInfoLayout(store.XInfo.InfoType);
    const std::size_t slotSize = g ? kGInfoSlotSize : kXInfoSlotSize;
    const std::vector<std::uint8_t>& slots = g ? store.GInfoSlots : store.XInfoSlots;
    const std::size_t count =
        std::min<std::size_t>(g ? store.GInfo.EntryCount : store.XInfo.EntryCount, slots.size() / slotSize);
    std::vector<const std::uint8_t*> entries(count);
    // An entry that a partial read-out lacks is an empty line, not one of zeros.
    for (std::size_t i = 0; i < count; ++i)
        entries[i] = readOut.in.Has({g ? InfoBlock::GInfo : InfoBlock::XInfo, static_cast<std::uint16_t>(i)})
                         ? slots.data() + i * slotSize
                         : nullptr;

    const std::string text = FormatEntryTable(layout, entries, options->format, UserDecimalSeparator());
    std::fwrite(text.data(), 1, text.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

} // namespace lexorant::cli
