#include "tools/cli/option_parser.h"

#include <cstdio>

namespace lexorant::cli {

void OptionParser::Flag(std::string name, bool& on) {
    options_.push_back({std::move(name), &on, {}});
}

void OptionParser::Value(std::string name, std::function<bool(const std::string&)> take) {
    options_.push_back({std::move(name), nullptr, std::move(take)});
}

void OptionParser::Value(std::string name, std::string& value) {
    Value(std::move(name), [&value](const std::string& v) {
        value = v;
        return true;
    });
}

void OptionParser::Argument(std::string& value, bool dashed) {
    argument_ = &value;
    dashed_ = dashed;
}

void OptionParser::Arguments(std::vector<std::string>& values) {
    arguments_ = &values;
}

bool OptionParser::TakeArgument(const std::string& a) {
    if (a.empty())
        return false;
    if (arguments_ != nullptr && a[0] != '-') {
        arguments_->push_back(a);
        return true;
    }
    if (argument_ != nullptr && argument_->empty() && (dashed_ || a[0] != '-')) {
        *argument_ = a;
        return true;
    }
    return false;
}

bool OptionParser::Parse(const cli::Arguments& args) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        bool known = false;
        for (const Option& option : options_) {
            if (a != option.name || (option.take && !hasValue))
                continue;
            known = true;
            if (option.flag != nullptr)
                *option.flag = true;
            else if (!option.take(args[++i]))
                return false;
            break;
        }
        if (!known && !TakeArgument(a))
            return Fail("unexpected argument '" + a + "'");
    }
    return true;
}

bool OptionParser::Fail(const std::string& text) const {
    std::fprintf(stderr, "lexorant-cli %s: %s\n", command_.c_str(), text.c_str());
    return false;
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
