// lexorant-cli summary: the messages of many read-outs, or a line per read-out, as TSV, CSV or JSON.
#include "platform/decimal_separator.h"
#include "records/entry_table.h"
#include "tools/cli/commands.h"
#include "tools/cli/option_parser.h"
#include "tools/cli/read_out_summary.h"

#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace lexorant::cli {

namespace {

struct SummaryOptions {
    std::vector<std::string> paths;
    TableFormat format = TableFormat::Tsv;
    bool byFile = false;
};

std::optional<SummaryOptions> ParseSummaryOptions(const Arguments& args) {
    SummaryOptions options;
    OptionParser parser("summary");
    FormatOption(parser, options.format);
    parser.Flag("--by-file", options.byFile);
    parser.Arguments(options.paths);
    parser.Required(options.paths, "PATH... is needed (\".inf\" files or folders)");
    if (!parser.Parse(args))
        return std::nullopt;
    return options;
}

// A field of a record: a text, or a number (JSON writes it bare).
struct Value {
    std::string text;
    bool number = false;
    bool null = false; // JSON: null; TSV and CSV: empty
};

Value Text(std::string text) {
    return {std::move(text), false, false};
}
Value Number(long long n) {
    return {std::to_string(n), true, false};
}
Value TextOrNull(std::string text) {
    const bool none = text.empty();
    return {std::move(text), false, none};
}

// Records as TSV, RFC 4180 CSV (";" between fields where the decimal separator is a comma, as a
// spreadsheet of that locale expects) or a JSON array of objects keyed by the heading.
class RecordWriter {
public:
    RecordWriter(TableFormat format, std::vector<std::string> heading)
        : format_(format), heading_(std::move(heading)),
          separator_(CsvFieldSeparator(UserDecimalSeparator())) {
        if (format_ == TableFormat::Json) {
            out_ = "[";
            return;
        }
        std::vector<Value> names;
        for (const std::string& h : heading_)
            names.push_back(Text(h));
        WriteFields(names);
    }

    void Record(const std::vector<Value>& values) {
        if (format_ != TableFormat::Json) {
            WriteFields(values);
            return;
        }
        out_ += records_++ == 0 ? "\n  {" : ",\n  {";
        for (std::size_t i = 0; i < values.size(); ++i) {
            out_ += i == 0 ? "" : ", ";
            AppendJsonString(out_, heading_[i]);
            out_ += ": ";
            if (values[i].null)
                out_ += "null";
            else if (values[i].number)
                out_ += values[i].text;
            else
                AppendJsonString(out_, values[i].text);
        }
        out_ += '}';
        Flush(false);
    }

    // False when standard output could not take it all.
    bool Finish() {
        if (format_ == TableFormat::Json)
            out_ += records_ == 0 ? "]\n" : "\n]\n";
        Flush(true);
        return std::fflush(stdout) == 0 && !std::ferror(stdout);
    }

private:
    // A tab or line break in a field (a file's name may hold one) would split the line: each is written
    // as '?', as `ls` shows such names.
    static void AppendTsvField(std::string& out, const std::string& text) {
        for (const char c : text)
            out += c == '\t' || c == '\n' || c == '\r' ? '?' : c;
    }

    void WriteFields(const std::vector<Value>& values) {
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (i > 0)
                out_ += format_ == TableFormat::Csv ? separator_ : '\t';
            if (format_ == TableFormat::Csv)
                AppendCsvField(out_, values[i].text, separator_);
            else
                AppendTsvField(out_, values[i].text);
        }
        out_ += format_ == TableFormat::Csv ? "\r\n" : "\n";
        Flush(false);
    }

    void Flush(bool always) {
        if (always || out_.size() > 64 * 1024) {
            std::fwrite(out_.data(), 1, out_.size(), stdout);
            out_.clear();
        }
    }

    TableFormat format_;
    std::vector<std::string> heading_;
    char separator_;
    std::string out_;
    std::size_t records_ = 0;
};

bool WriteMessages(const ReadOutSummary& summary, TableFormat format) {
    RecordWriter out(format, {"Code", "Kind", "G-Info", "X-Info", "Files", "First", "Last", "Message text"});
    for (const MessageRow& row : RowsByFrequency(summary.messages))
        out.Record({Number(row.code), Text(std::string(KindName(row.kind))), Number(row.gInfo),
                    Number(row.xInfo), Number(row.files), TextOrNull(StampText(row.first)),
                    TextOrNull(StampText(row.last)), Text(std::string(row.text))});
    return out.Finish();
}

bool WriteFiles(const ReadOutSummary& summary, TableFormat format) {
    RecordWriter out(format, {"File", "Serial", "G-Info", "X-Info", "First", "Last", "Faults", "Top fault",
                              "Top fault count", "Damaged"});
    for (const ReadOutLine& line : summary.files) {
        if (!line.readable)
            continue;
        const bool anyFault = line.topFaultCount > 0;
        out.Record({Text(line.file), Text(line.serial), Number(static_cast<long long>(line.gInfo)),
                    Number(static_cast<long long>(line.xInfo)), TextOrNull(StampText(line.first)),
                    TextOrNull(StampText(line.last)), Number(line.faults),
                    anyFault ? Number(line.topFault) : Value{"", false, true}, Number(line.topFaultCount),
                    Text(line.partial   ? "partial"
                         : line.damaged ? "yes"
                                        : "no")});
    }
    return out.Finish();
}

} // namespace

int Summary(const Arguments& args) {
    const auto options = ParseSummaryOptions(args);
    if (!options)
        return 1;
    const std::vector<std::string> files = ReadOutFiles(options->paths);
    // Each worker opens and reads its own files: the kernel's open and read calls are the cost.
    const unsigned workers = std::max(2u, std::thread::hardware_concurrency());
    const ReadOutSummary summary = SummariseReadOuts(files, options->byFile, workers);
    bool skipped = false;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (summary.files[i].readable)
            continue;
        std::fprintf(stderr, "lexorant-cli summary: Unable to open file %s (skipped)\n", files[i].c_str());
        skipped = true;
    }
    const bool written =
        options->byFile ? WriteFiles(summary, options->format) : WriteMessages(summary, options->format);
    if (!written)
        return 1;
    return skipped ? 3 : 0;
}

} // namespace lexorant::cli
