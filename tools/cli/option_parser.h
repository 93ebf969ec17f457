#pragma once
// The one option parser of the lexorant-cli commands. A command declares its options and arguments,
// Parse takes them in any order; an option whose value is missing is read as an argument.
#include "tools/cli/commands.h"
#include "records/entry_table.h"

#include <functional>
#include <string>
#include <vector>

namespace lexorant::cli {

class OptionParser {
public:
    // `command` as the messages name it: "lexorant-cli show: ...".
    explicit OptionParser(std::string command) : command_(std::move(command)) {}

    // NAME alone switches `on` on.
    void Flag(std::string name, bool& on);
    // NAME VALUE; `take` keeps the value, or says through Fail why it will not do and returns false.
    void Value(std::string name, std::function<bool(const std::string&)> take);
    // NAME VALUE, the value kept as it is; a repeated option keeps the last.
    void Value(std::string name, std::string& value);
    // The first argument that is no option; with `dashed`, also one that begins with "-".
    void Argument(std::string& value, bool dashed = false);
    // Every argument that is no option, in order.
    void Arguments(std::vector<std::string>& values);

    // False, after a message on standard error, when an argument is not taken.
    bool Parse(const cli::Arguments& args);

    // "lexorant-cli COMMAND: TEXT" on standard error; always false.
    bool Fail(const std::string& text) const;

private:
    struct Option {
        std::string name;
        bool* flag = nullptr;
        std::function<bool(const std::string&)> take;
    };

    bool TakeArgument(const std::string& a);

    std::string command_;
    std::vector<Option> options_;
    std::string* argument_ = nullptr;
    bool dashed_ = false;
    std::vector<std::string>* arguments_ = nullptr;
};

// --format tsv|csv|json.
void FormatOption(OptionParser& parser, TableFormat& format);

} // namespace lexorant::cli
