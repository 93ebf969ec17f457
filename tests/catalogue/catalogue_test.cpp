#include "catalogue/find_message_text.h"
#include "catalogue/message_catalogue.h"
#include "catalogue/message_kind.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <string>
#include <utility>
#include <vector>

using namespace lexorant;

namespace {

const std::vector<std::pair<int, int>> kRuns = {
    {-1, -1},       {-4, -7},       {-9, -11},      {-14, -15},       {-37, -37},      {-40, -40},
    {-42, -64},     {-66, -105},    {-110, -609},   {-1000, -1032},   {-2048, -2119},  {-3000, -3001},
    {-3003, -3003}, {-3006, -3008}, {-3020, -3020}, {-3030, -3030},   {-3128, -3129},  {-4096, -4153},
    {-4200, -4237}, {-4300, -4300}, {-8190, -8191}, {-16384, -16439}, {-20000, -20001}};

std::set<int> EmptyCodes() {
    std::set<int> codes = {-2054, -2119};
    for (const auto& [from, to] : std::vector<std::pair<int, int>>{
             {-607, -609}, {-1012, -1015}, {-2048, -2052}, {-2056, -2062}, {-4235, -4237}})
        for (int c = from; c >= to; --c)
            codes.insert(c);
    return codes;
}

std::string TextOf(int code) {
    for (const auto& entry : MessageCatalogue)
        if (entry.Code == code)
            return entry.Text;
    ADD_FAILURE() << "code " << code << " missing";
    return {};
}

// Decodes UTF-8; false when malformed. Code points go to out.
bool DecodeUtf8(const std::string& s, std::vector<char32_t>& out) {
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        int extra = b < 0x80             ? 0
                    : (b & 0xE0) == 0xC0 ? 1
                    : (b & 0xF0) == 0xE0 ? 2
                    : (b & 0xF8) == 0xF0 ? 3
                                         : -1;
        if (extra < 0 || i + static_cast<std::size_t>(extra) >= s.size() + (extra == 0 ? 1 : 0))
            return false;
        char32_t cp = extra == 0 ? b : b & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            const auto c = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
            if ((c & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        out.push_back(cp);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return true;
}

bool InWindows1252(char32_t cp) {
    static const std::set<char32_t> high = {0x20AC, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x017D, 0x2018,
                                            0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC,
                                            0x2122, 0x0161, 0x203A, 0x0153, 0x017E, 0x0178};
    return (cp >= 0x20 && cp < 0x7F) || (cp >= 0xA0 && cp <= 0xFF) || high.count(cp) != 0;
}

} // namespace

TEST(MessageCatalogue, HoldsEveryCodeOfTheRunsOnceInFallingOrder) {
    std::vector<int> expected;
    for (const auto& [from, to] : kRuns)
        for (int c = from; c >= to; --c)
            expected.push_back(c);
    ASSERT_EQ(expected.size(), kMessageCount);
    std::vector<int> actual;
    for (const auto& entry : MessageCatalogue)
        actual.push_back(entry.Code);
    EXPECT_EQ(actual, expected);
}

TEST(MessageCatalogue, TextsAreWindows1252AndAtMost298Characters) {
    for (const auto& entry : MessageCatalogue) {
        ASSERT_NE(entry.Text, nullptr) << entry.Code;
        std::vector<char32_t> cps;
        ASSERT_TRUE(DecodeUtf8(entry.Text, cps)) << entry.Code;
        EXPECT_LE(cps.size(), 298u) << entry.Code;
        for (char32_t cp : cps)
            EXPECT_TRUE(InWindows1252(cp)) << entry.Code << " U+" << std::hex << static_cast<unsigned>(cp);
    }
}

TEST(MessageCatalogue, EmptyTextsAreExactlyTheReservedCodes) {
    const std::set<int> empty = EmptyCodes();
    ASSERT_EQ(empty.size(), 24u);
    for (const auto& entry : MessageCatalogue)
        EXPECT_EQ(std::string(entry.Text).empty(), empty.count(entry.Code) == 1) << entry.Code;
}

// Where the controller numbers a family of messages, the text carries the number that the code implies.
TEST(MessageCatalogue, FamiliesCarryTheNumberTheirCodeImplies) {
    for (int n = 0; n <= 31; ++n)
        EXPECT_EQ(TextOf(-4200 - n),
                  "CAN-Nachricht im MessageObject " + std::to_string(n) + " verlorengegangen.");
    for (int n = 1; n <= 10; ++n) {
        EXPECT_EQ(TextOf(-16406 - n), "Temperierprogramm " + std::to_string(n) + " wurde gestartet.");
        EXPECT_EQ(TextOf(-16416 - n), "Temperierprogramm " + std::to_string(n) + " wurde beendet.");
    }
}

TEST(MessageCatalogue, NoTwoCodesShareATextAndNoneIsAPlaceholder) {
    std::map<std::string, int> seen;
    for (const auto& entry : MessageCatalogue) {
        const std::string text = entry.Text;
        if (text.empty())
            continue;
        EXPECT_EQ(text.find("TODO"), std::string::npos) << entry.Code;
        EXPECT_EQ(text.find(std::to_string(entry.Code)), std::string::npos) << entry.Code << ": " << text;
        const auto [it, inserted] = seen.emplace(text, entry.Code);
        EXPECT_TRUE(inserted) << entry.Code << " repeats the text of " << it->second << ": " << text;
    }
}

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++n;
    return n;
}

// The wording the technician learns once: the device is the "Regler", the unit is the "Gerät" (genitive
// "Geräts").
TEST(MessageCatalogue, NoTextUsesARetiredTerm) {
    const std::vector<std::pair<const char*, const char*>> retired = {
        {"Steuerung", "Regler"},
        {"Gerätes", "Geräts"},
        {"Heizkörper", "Heizstab"},
        {"Ventilspule", "Motorwicklung"},
        {"Pt100-Fühler", "Pt100 Fühler <Lage> (RFn)"},
        {"Pt100-Eingang", "analoger Sollwerteingang"},
        {"Temperaturfühler (", "Pt100 Fühler <Lage> (RFn, Tx)"},
        {"Rücklauffühler", "Pt100 Fühler Rücklauf (RF2)"},
        {"Schutzprozessor", "Übertemperaturschutz"},
        {"(AIF)", "Schnittstelle (externes System)"},
        {"von Pt100 Fühler", "des Pt100 Fühlers"},
        {"von ÜT-Fühler", "des ÜT-Fühlers"},
        {"Kurzschluss am Eingang", "Kurzschluss"},
        {"EEPROM sollte getauscht", "Reglerplatine"},
    };
    for (const auto& entry : MessageCatalogue)
        for (const auto& [term, use] : retired)
            EXPECT_EQ(std::string(entry.Text).find(term), std::string::npos)
                << entry.Code << " says \"" << term << "\"; the catalogue says \"" << use << "\"";
}

// A Pt100 probe is "Pt100 Fühler <place> (RFn)"; where a text means its measured value, the grid's value name
// joins the probe name: "(RF1, TI)". TI, TE and TR never stand alone.
TEST(MessageCatalogue, NamesEachPt100ProbeOneWay) {
    struct Probe {
        std::string rf, place, value;
    };
    const std::vector<Probe> probes = {{"RF1", "Vorlauf", "TI"},
                                       {"RF2", "Rücklauf", "TR"},
                                       {"RF3", "extern", "TE"},
                                       {"RF4", "Verdampfereintritt", ""},
                                       {"RF5", "Verdampfereintritt HT-Stufe", ""}};
    const std::regex bareValue("(^|[^A-Za-z0-9])T[IER]([^A-Za-z0-9]|$)");
    for (const auto& entry : MessageCatalogue) {
        std::string text = entry.Text;
        for (const auto& p : probes) {
            const std::string tag = " (" + p.rf;
            EXPECT_EQ(Count(text, tag), Count(text, "Pt100 Fühler " + p.place + tag) +
                                            Count(text, "Pt100 Fühlers " + p.place + tag))
                << entry.Code << ": " << text;
            const std::string pair = tag + ", " + p.value + ")";
            EXPECT_EQ(Count(text, tag + ","), p.value.empty() ? 0 : Count(text, pair))
                << entry.Code << ": " << text;
            for (auto at = text.find(pair); !p.value.empty() && at != std::string::npos; at = text.find(pair))
                text.erase(at, pair.size());
        }
        EXPECT_FALSE(std::regex_search(text, bareValue)) << entry.Code << ": " << entry.Text;
    }
}

// The error chain that the controller calibrates is not the safety circuit of the SKM modules.
TEST(MessageCatalogue, TheErrorChainBelongsToItsCalibrationTexts) {
    for (const auto& entry : MessageCatalogue)
        EXPECT_EQ(std::string(entry.Text).find("Fehlerkette") != std::string::npos,
                  entry.Code <= -4232 && entry.Code >= -4234)
            << entry.Code;
}

struct LookupCase {
    const char* cell;
    const char* separator;
    std::string expected;
};

TEST(FindMessageText, ResultsForWhatRowFourCanHold) {
    const std::vector<LookupCase> cases = {
        {"-1", ".", TextOf(-1)},
        {"0", ".", kNoMessageText},
        {"-607", ".", ""}, // a reserved code: its text is empty, not missing
        {"-2", ".", kMessageTextMissing},
        {"5", ".", kMessageTextMissing},
        {"65532", ".", kMessageTextMissing},
        {"-32768", ".", kMessageTextMissing},
        {"-4220", ".", TextOf(-4220)},
        {"-16416", ".", TextOf(-16416)},
        {"-20001", ",", TextOf(-20001)},
        // Only the exact text "0" means no message; other spellings are compared as numbers.
        {"00", ".", kMessageTextMissing},
        {"-0", ".", kMessageTextMissing},
        {"-4.0", ".", TextOf(-4)},
        {"-4,0", ",", TextOf(-4)},
        {"-4.5", ".", kMessageTextMissing},
        {" -9 ", ".", TextOf(-9)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindMessageText(c.cell, c.separator), c.expected) << c.cell;
}

TEST(FindMessageText, TextsThatAreNoNumberFailWithTheConversionError) {
    for (const char* cell : {"", " ", "-", "abc", "-4x", "1e", "-4.0"}) {
        const char* separator = std::string(cell) == "-4.0" ? "," : ".";
        try {
            FindMessageText(cell, separator);
            ADD_FAILURE() << "no error for '" << cell << "'";
        } catch (const ConversionError& e) {
            EXPECT_STREQ(e.what(),
                         "Variante des Typs (String) konnte nicht in Typ (Double) konvertiert werden");
        }
    }
}

TEST(MessageTextOf, IsWhatFindMessageTextGivesForTheCodesText) {
    for (int code : {0, -1, -607, -2, 5, -4220, -16416, -20001, 32767, -32768}) {
        const std::string text = std::to_string(code);
        EXPECT_EQ(MessageTextOf(static_cast<std::int16_t>(code)), FindMessageText(text)) << code;
    }
}

TEST(MessageKind, EveryCatalogueCodeLiesInARunAndOthersAreUnknown) {
    for (const MessageEntry& e : MessageCatalogue)
        EXPECT_NE(KindOfMessage(e.Code), MessageKind::Unknown) << e.Code;
    const std::pair<int, MessageKind> cases[] = {
        {0, MessageKind::None},     {-1, MessageKind::Fault},       {-2048, MessageKind::Warning},
        {-4096, MessageKind::Note}, {-16384, MessageKind::Event},   {-20001, MessageKind::Fault},
        {1, MessageKind::Unknown},  {-32768, MessageKind::Unknown}, {-5000, MessageKind::Unknown},
        {-2, MessageKind::Fault}}; // in a fault run, though the catalogue has no text for it
    for (const auto& [code, kind] : cases)
        EXPECT_EQ(KindOfMessage(static_cast<std::int16_t>(code)), kind) << code;
}

TEST(MessageKind, TheFaultRangesAndTheirNeighbours) {
    const std::pair<int, bool> cases[] = {
        {0, false},     {-1, true},      {-1032, true},  {-1033, false}, {-2999, false},  {-3000, true},
        {-3129, true},  {-3130, false},  {-4199, false}, {-4200, true},  {-4300, true},   {-4301, false},
        {-8189, false}, {-8190, true},   {-8191, true},  {-8192, false}, {-19999, false}, {-20000, true},
        {-20001, true}, {-20002, false}, {1, false},     {32767, false}, {-32768, false}, {-16385, false}};
    for (const auto& [code, fault] : cases)
        EXPECT_EQ(IsFaultMessage(static_cast<std::int16_t>(code)), fault) << code;
}
