// What changed between two read-outs of a unit: the new (or gone) entries as show prints them.
#include "compare/comparison_text.h"
#include "compare/read_out_comparison.h"
#include "file/previous_read_out.h"
#include "platform/decimal_separator.h"
#include "records/entry_layout.h"
#include "records/entry_table.h"
#include "tools/cli/commands.h"
#include "tools/cli/option_parser.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace lexorant::cli {

namespace {

struct CompareOptions {
    std::string older; // empty: the previous autosave read-out beside `newer`
    std::string newer;
    InfoBlock block = InfoBlock::GInfo;
    bool gone = false;
    TableFormat format = TableFormat::Tsv;
};

std::optional<CompareOptions> ParseCompareOptions(const Arguments& args) {
    CompareOptions options;
    OptionParser parser("compare");
    parser.Value("--block", [&](const std::string& v) {
        if (v != "G" && v != "X" && v != "g" && v != "x")
            return parser.Fail("--block takes G or X, not '" + v + "'");
        options.block = BlockOfLetter(static_cast<char>(v[0] & ~0x20));
        return true;
    });
    parser.Flag("--gone", options.gone);
    FormatOption(parser, options.format);
    std::vector<std::string> files;
    parser.Arguments(files);
    if (!parser.Parse(args))
        return std::nullopt;
    if (files.empty() || files.size() > 2) {
        parser.Fail("give OLD and NEW, or NEW alone");
        return std::nullopt;
    }
    options.newer = files.back();
    if (files.size() == 2)
        options.older = files.front();
    return options;
}

// The entries as show prints them, each under its own number.
std::string EntryLines(const ReadOutData& readOut, const std::vector<EntryRef>& entries, InfoBlock block,
                       TableFormat format) {
    const EntryLayout& layout =
        block == InfoBlock::GInfo ? GInfoLayout() : XInfoLayout(readOut.store.XInfo.InfoType);
    std::vector<NumberedEntry> lines;
    lines.reserve(entries.size());
    for (const EntryRef& entry : entries)
        lines.push_back({SlotOf(readOut.store, entry), entry.index + 1});
    return FormatNumberedEntryTable(layout, lines, format, UserDecimalSeparator());
}

} // namespace

int Compare(const Arguments& args) {
    const auto options = ParseCompareOptions(args);
    if (!options)
        return 1;
    std::optional<ReadOutData> older, newer;
    if (options->older.empty()) {
        newer = LoadReadOut(options->newer);
        if (!newer)
            return 1;
        const auto previous = PreviousAutosaveReadOut(options->newer);
        if (!previous) {
            std::fprintf(stderr,
                         "lexorant-cli compare: %s has no earlier read-out of its unit beside it; name OLD: "
                         "lexorant-cli compare OLD NEW\n",
                         options->newer.c_str());
            return 1;
        }
        std::fprintf(stderr, "Comparing with %s\n", previous->c_str());
        older = LoadReadOut(*previous);
        if (!older)
            return 1;
    } else {
        older = LoadReadOut(options->older);
        if (!older)
            return 1;
        newer = LoadReadOut(options->newer);
        if (!newer)
            return 1;
    }
    if (!older->serial.empty() && !newer->serial.empty() && older->serial != newer->serial)
        std::fprintf(stderr, "Warning: %s is of unit %s, %s of unit %s\n", older->name.c_str(),
                     older->serial.c_str(), newer->name.c_str(), newer->serial.c_str());

    const ReadOutComparison comparison = lexorant::Compare(*older, *newer);
    const std::string text =
        options->gone
            ? EntryLines(*older, comparison.GoneEntries(options->block), options->block, options->format)
            : EntryLines(*newer, comparison.NewEntries(options->block), options->block, options->format);
    for (const InfoBlock block : {InfoBlock::GInfo, InfoBlock::XInfo})
        std::fprintf(stderr, "%s\n", ComparisonCountsLine(comparison, block).c_str());
    std::fwrite(text.data(), 1, text.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

} // namespace lexorant::cli
