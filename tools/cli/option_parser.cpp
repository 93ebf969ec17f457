#include "tools/cli/option_parser.h"

#include <cstdio>

namespace lexorant::cli {

OptionParser::OptionParser(std::string command)
    : lexorant::OptionParser([command = std::move(command)](const std::string& text) {
          std::fprintf(stderr, "lexorant-cli %s: %s\n", command.c_str(), text.c_str());
      }) {}

void OptionParser::LoadsReadOut(const std::string& file, std::optional<ReadOutData>& readOut) {
    Check([&file, &readOut] {
        readOut = LoadReadOut(file);
        return readOut.has_value();
    });
}

void FormatOption(OptionParser& parser, TableFormat& format) {
    parser.Value("--format", [&parser, &format](const std::string& v) {
        if (v == "tsv")
            format = TableFormat::Tsv;
        else if (v == "csv")
            format = TableFormat::Csv;
        else if (v == "json")
            format = TableFormat::Json;
        else
            return parser.Fail("--format takes tsv, csv or json, not '" + v + "'");
        return true;
    });
}

} // namespace lexorant::cli
