#pragma once
// The one parser of the programs' command lines (lexorant-cli, lexorant-sim, the window). A program
// declares its options and arguments; Parse takes them in any order, then runs the checks in the order
// they were declared. Without Qt and without anything below it, so that every program can link it.
#include <functional>
#include <string>
#include <vector>

namespace lexorant {

class OptionParser {
public:
    // `report` gets every message: the parser's own and those of Fail.
    explicit OptionParser(std::function<void(const std::string&)> report) : report_(std::move(report)) {}

    // NAME alone switches `on` on.
    void Flag(std::string name, bool& on);
    // NAME alone calls `given`.
    void Flag(std::string name, std::function<void()> given);
    // NAME VALUE; `take` keeps the value, or says through Fail why it will not do and returns false.
    // An option whose value is missing (it is the last argument) is read as an argument.
    void Value(std::string name, std::function<bool(const std::string&)> take);
    // NAME VALUE, the value kept as it is; a repeated option keeps the last.
    void Value(std::string name, std::string& value);
    // Another name for the option declared last ("/trace" beside "-trace").
    void Alias(std::string name);
    // The option declared last, given as the last argument or followed by a switch ("-..."), calls
    // `missing` instead of being read as an argument; the switch is read as what it is.
    void WhenValueMissing(std::function<void()> missing);
    // The option declared last matches in any case ("-TRACE").
    void AnyCase() { options_.back().anyCase = true; }

    // The first argument that is no option; with `dashed`, also one that begins with "-".
    void Argument(std::string& value, bool dashed = false);
    // Every argument that is no option, in order.
    void Arguments(std::vector<std::string>& values);
    // Arguments that `take` wants (it returns whether it took the argument).
    void Arguments(std::function<bool(const std::string&)> take);
    // Arguments nobody takes are passed over instead of refused (the toolkit's own options).
    void PassOverOthers() { passOver_ = true; }

    // After the arguments: when `given` says no, `text` is reported and Parse fails.
    void Required(std::function<bool()> given, std::string text);
    void Required(const std::string& value, std::string text);
    void Required(const std::vector<std::string>& values, std::string text);
    // After the arguments, in declaration order with the required ones: `check` reports through Fail
    // and returns false when what was given will not do.
    void Check(std::function<bool()> check);

    // False, after a message, when an argument is not taken or a check fails.
    bool Parse(const std::vector<std::string>& args);

    // Reports `text`; always false.
    bool Fail(const std::string& text) const;

private:
    struct Option {
        std::vector<std::string> names;
        std::function<void()> given; // a flag
        std::function<bool(const std::string&)> take;
        std::function<void()> missing;
        bool anyCase = false;
    };

    bool Named(const Option& option, const std::string& arg) const;
    bool TakeArgument(const std::string& arg);

    std::function<void(const std::string&)> report_;
    std::vector<Option> options_;
    std::vector<std::function<bool(const std::string&)>> arguments_;
    std::vector<std::function<bool()>> checks_;
    bool passOver_ = false;
};

} // namespace lexorant
