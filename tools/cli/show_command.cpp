#include "commands.h"
#include "find_message_text.h"
#include "ginfo_texts.h"
#include "info_file.h"
#include "record_store.h"
#include "xinfo_texts.h"

#include <cstdio>
#include <optional>
#include <string>

namespace lexorant::cli {

namespace {

struct ShowOptions {
    std::string file;
    char block = 'G';
    bool csv = false;
};

std::optional<ShowOptions> ParseShowOptions(const Arguments& args) {
    ShowOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--block" && hasValue) {
            const std::string v = args[++i];
            if (v != "G" && v != "X" && v != "g" && v != "x") {
                std::fprintf(stderr, "lexorant-cli show: --block takes G or X, not '%s'\n", v.c_str());
                return std::nullopt;
            }
            options.block = static_cast<char>(v[0] & ~0x20);
        } else if (a == "--format" && hasValue) {
            const std::string v = args[++i];
            if (v != "tsv" && v != "csv") {
                std::fprintf(stderr, "lexorant-cli show: --format takes tsv or csv, not '%s'\n", v.c_str());
                return std::nullopt;
            }
            options.csv = v == "csv";
        } else if (options.file.empty() && !a.empty()) {
            options.file = a;
        } else {
            std::fprintf(stderr, "lexorant-cli show: unexpected argument '%s'\n", a.c_str());
            return std::nullopt;
        }
    }
    if (options.file.empty()) {
        std::fputs("lexorant-cli show: FILE is missing\n", stderr);
        return std::nullopt;
    }
    return options;
}

// Lines of fields, as TSV or as RFC 4180 CSV with the separator a spreadsheet of the locale expects.
class TableWriter {
public:
    TableWriter(bool csv, char decimalSeparator) : csv_(csv), separator_(csv && decimalSeparator == ',' ? ';' : ',') {}

    void Field(const std::string& text) {
        if (!first_)
            line_ += csv_ ? separator_ : '\t';
        first_ = false;
        if (!csv_) {
            line_ += text;
            return;
        }
        if (text.find_first_of(std::string{separator_, '"', '\r', '\n'}) == std::string::npos) {
            line_ += text;
            return;
        }
        line_ += '"';
        for (char c : text) {
            if (c == '"')
                line_ += '"';
            line_ += c;
        }
        line_ += '"';
    }
    void Field(const QString& text) { Field(text.toStdString()); }

    void EndLine() {
        line_ += csv_ ? "\r\n" : "\n";
        std::fwrite(line_.data(), 1, line_.size(), stdout);
        line_.clear();
        first_ = true;
    }

private:
    bool csv_;
    char separator_;
    bool first_ = true;
    std::string line_;
};

} // namespace

bool LoadReadOut(const std::string& file, RecordStore& store) {
    if (LoadInfoFile(file, store))
        return true;
    std::fprintf(stderr, "Unable to open file %s\n", file.c_str());
    return false;
}

int Show(const Arguments& args) {
    const auto options = ParseShowOptions(args);
    if (!options)
        return 1;
    RecordStore store;
    if (!LoadReadOut(options->file, store))
        return 1;
    const char separator = UserDecimalSeparator();
    const QChar qSeparator = QLatin1Char(separator);
    const bool g = options->block == 'G';
    const int xType = store.XInfo.InfoType;
    const int count = g ? store.GInfo.EntryCount : store.XInfo.EntryCount;
    constexpr int kMessageRow = 4;

    TableWriter out(options->csv, separator);
    for (const QString& heading : g ? GInfoRowHeadings() : XInfoRowHeadings(xType))
        out.Field(heading);
    out.Field(std::string("Message text"));
    out.EndLine();

    for (int i = 0; i < count; ++i) {
        const auto index = static_cast<std::size_t>(i);
        const auto texts = g ? GInfoColumnTexts(i + 1, store.GInfoSlot(index))
                             : XInfoColumnTexts(i + 1, store.XInfoSlot(index), xType, qSeparator);
        for (const QString& text : texts)
            out.Field(text);
        try {
            out.Field(FindMessageText(texts[kMessageRow].toStdString(), separator));
        } catch (const ConversionError& e) {
            out.Field(std::string(e.what()));
        }
        out.EndLine();
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}

} // namespace lexorant::cli
