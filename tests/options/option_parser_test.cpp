#include "options/option_parser.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using namespace lexorant;

namespace {

struct Parsed {
    bool ok = false;
    std::vector<std::string> messages;
    std::string file, output;
    bool fresh = false;
};

// A command as lexorant-cli declares one: FILE --output NAME [--fresh], both required.
Parsed Command(const std::vector<std::string>& args) {
    Parsed p;
    OptionParser parser([&p](const std::string& text) { p.messages.push_back(text); });
    parser.Value("--output", p.output);
    parser.Flag("--fresh", p.fresh);
    parser.Argument(p.file);
    parser.Required(p.file, "FILE is missing");
    parser.Required(p.output, "--output is missing");
    p.ok = parser.Parse(args);
    return p;
}

} // namespace

TEST(OptionParser, CommandRules) {
    struct Case {
        std::vector<std::string> args;
        bool ok;
        std::vector<std::string> messages;
        std::string output;
    };
    const Case cases[] = {
        {{"--output", "a", "f", "--fresh"}, true, {}, "a"},
        {{"f", "--output", "a", "--output", "b"}, true, {}, "b"},           // the last counts
        {{"f", "--output"}, false, {"unexpected argument '--output'"}, ""}, // no value: an argument
        {{"f", "g", "--output", "a"}, false, {"unexpected argument 'g'"}, ""},
        {{"--FRESH", "f"}, false, {"unexpected argument '--FRESH'"}, ""},
        {{}, false, {"FILE is missing"}, ""}, // the checks in order, the first failure only
        {{"f"}, false, {"--output is missing"}, ""},
    };
    for (const Case& c : cases) {
        const Parsed p = Command(c.args);
        EXPECT_EQ(p.ok, c.ok) << ::testing::PrintToString(c.args);
        EXPECT_EQ(p.messages, c.messages) << ::testing::PrintToString(c.args);
        if (c.ok) {
            EXPECT_EQ(p.output, c.output) << ::testing::PrintToString(c.args);
        }
    }
}

// As the window declares its "-trace": any case, two names, a missing value noted, others passed over.
TEST(OptionParser, SwitchesInAnyCaseAndOthersPassedOver) {
    struct Case {
        std::vector<std::string> args;
        std::optional<std::string> trace;
    };
    const Case cases[] = {
        {{"-platform", "offscreen", "-TRACE", "t.txt"}, "t.txt"},
        {{"/Trace", "/tmp/t"}, "/tmp/t"},
        {{"a.inf", "-trace"}, ""},
        {{"-trace", "--help"}, ""}, // a switch, not a file name
        {{"trace", "--trace", "t"}, std::nullopt},
    };
    for (const Case& c : cases) {
        std::optional<std::string> trace;
        OptionParser parser(nullptr);
        parser.PassOverOthers();
        parser.Value("-trace", [&trace](const std::string& v) {
            trace = v;
            return true;
        });
        parser.Alias("/trace");
        parser.AnyCase();
        parser.WhenValueMissing([&trace] { trace = std::string(); });
        EXPECT_TRUE(parser.Parse(c.args));
        EXPECT_EQ(trace, c.trace) << ::testing::PrintToString(c.args);
    }
}
