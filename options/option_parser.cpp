#include "options/option_parser.h"

#include <algorithm>
#include <cctype>

namespace lexorant {

void OptionParser::Flag(std::string name, bool& on) {
    Flag(std::move(name), [&on] { on = true; });
}

void OptionParser::Flag(std::string name, std::function<void()> given) {
    options_.push_back({{std::move(name)}, std::move(given), {}, {}});
}

void OptionParser::Value(std::string name, std::function<bool(const std::string&)> take) {
    options_.push_back({{std::move(name)}, {}, std::move(take), {}});
}

void OptionParser::Value(std::string name, std::string& value) {
    Value(std::move(name), [&value](const std::string& v) {
        value = v;
        return true;
    });
}

void OptionParser::Alias(std::string name) {
    options_.back().names.push_back(std::move(name));
}

void OptionParser::WhenValueMissing(std::function<void()> missing) {
    options_.back().missing = std::move(missing);
}

void OptionParser::Argument(std::string& value, bool dashed) {
    arguments_.push_back([&value, dashed](const std::string& a) {
        if (!value.empty() || (!dashed && a[0] == '-'))
            return false;
        value = a;
        return true;
    });
}

void OptionParser::Arguments(std::vector<std::string>& values) {
    arguments_.push_back([&values](const std::string& a) {
        if (a[0] == '-')
            return false;
        values.push_back(a);
        return true;
    });
}

void OptionParser::Arguments(std::function<bool(const std::string&)> take) {
    arguments_.push_back(std::move(take));
}

void OptionParser::Required(std::function<bool()> given, std::string text) {
    checks_.push_back(
        [this, given = std::move(given), text = std::move(text)] { return given() || Fail(text); });
}

void OptionParser::Required(const std::string& value, std::string text) {
    Required([&value] { return !value.empty(); }, std::move(text));
}

void OptionParser::Required(const std::vector<std::string>& values, std::string text) {
    Required([&values] { return !values.empty(); }, std::move(text));
}

void OptionParser::Check(std::function<bool()> check) {
    checks_.push_back(std::move(check));
}

bool OptionParser::Named(const Option& option, const std::string& arg) const {
    const auto same = [&option](char a, char b) {
        return option.anyCase ? std::tolower(static_cast<unsigned char>(a)) ==
                                    std::tolower(static_cast<unsigned char>(b))
                              : a == b;
    };
    return std::any_of(option.names.begin(), option.names.end(), [&](const std::string& name) {
        return name.size() == arg.size() && std::equal(name.begin(), name.end(), arg.begin(), same);
    });
}

bool OptionParser::TakeArgument(const std::string& arg) {
    if (arg.empty())
        return false;
    return std::any_of(arguments_.begin(), arguments_.end(), [&arg](const auto& take) { return take(arg); });
}

bool OptionParser::Parse(const std::vector<std::string>& args) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        bool known = false;
        for (const Option& option : options_) {
            // An option that notes a missing value takes no switch for its value.
            const bool hasValue = i + 1 < args.size() && !(option.missing && args[i + 1].starts_with('-'));
            if (!Named(option, a) || (option.take && !hasValue && !option.missing))
                continue;
            known = true;
            if (option.given)
                option.given();
            else if (!hasValue)
                option.missing();
            else if (!option.take(args[++i]))
                return false;
            break;
        }
        if (!known && !TakeArgument(a) && !passOver_)
            return Fail("unexpected argument '" + a + "'");
    }
    return std::all_of(checks_.begin(), checks_.end(), [](const auto& check) { return check(); });
}

bool OptionParser::Fail(const std::string& text) const {
    if (report_)
        report_(text);
    return false;
}

} // namespace lexorant
