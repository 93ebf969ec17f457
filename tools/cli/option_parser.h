#pragma once
// The lexorant-cli commands' use of the shared option parser: messages name the command, and the
// steps that several commands share (--format, the read-out a command works on).
#include "options/option_parser.h"
#include "records/entry_table.h"
#include "tools/cli/commands.h"

#include <optional>
#include <string>

namespace lexorant::cli {

class OptionParser : public lexorant::OptionParser {
public:
    // `command` as the messages name it: "lexorant-cli show: ..." on standard error.
    explicit OptionParser(std::string command);

    // Once the arguments are parsed and checked: loads the read-out named `file` (LoadReadOut, with its
    // messages) into `readOut`; Parse fails when it cannot.
    void LoadsReadOut(const std::string& file, std::optional<ReadOutData>& readOut);
};

// --format tsv|csv|json.
void FormatOption(OptionParser& parser, TableFormat& format);

} // namespace lexorant::cli
