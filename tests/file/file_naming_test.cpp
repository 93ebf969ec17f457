#include "file/autosave_file.h"
#include "file/file_naming.h"
#include "file/info_file_format.h"
#include "tests/file/file_test_folder.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace lexorant;
using lexorant::testing::ReadBytes;
using lexorant::testing::TempFolder;
using lexorant::testing::WriteBytes;
namespace fs = std::filesystem;

TEST(IsAutosaveSwitch, ArgumentTable) {
    struct Case {
        std::vector<const char*> argv;
        bool expected;
    };
    const Case cases[] = {
        {{"lexorant"}, false},
        {{"lexorant", "-autosave"}, true},
        {{"lexorant", "/autosave"}, true},
        {{"lexorant", "-AUTOSAVE"}, true},
        {{"lexorant", "/AutoSave"}, true},
        {{"lexorant", "x.inf", "other", "-Autosave"}, true},
        {{"lexorant", "autosave"}, false},
        {{"lexorant", "--autosave"}, false},
        {{"lexorant", "-autosave=1"}, false},
        {{"lexorant", " -autosave"}, false},
        {{"-autosave"}, false}, // the program's own path never counts
        {{"/autosave", "x"}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsAutosaveSwitch(static_cast<int>(c.argv.size()), c.argv.data()), c.expected)
            << c.argv.back() << " among " << c.argv.size();
    }
}

// The readable part of a changed serial's name, before the "~" and the hash of the whole serial.
std::string ReadablePart(const std::string& name) {
    const auto tilde = name.rfind('~');
    EXPECT_NE(tilde, std::string::npos) << name;
    EXPECT_EQ(name.size(), tilde + 9) << name;
    return name.substr(0, tilde);
}

TEST(FileNameSafeSerial, ReplacementTable) {
    struct Case {
        std::string serial, expected; // the name, or its readable part when the serial had to change
    };
    const Case unchanged[] = {{"LX-12345", "LX-12345"}, {"A 1.2", "A 1.2"}, {"...", "..."},
                              {"caf\xE9", "caf\xE9"}, // code-page letters stay
                              {"COM0", "COM0"},         {"COM10", "COM10"}, {"CONSOLE", "CONSOLE"}};
    for (const auto& c : unchanged)
        EXPECT_EQ(FileNameSafeSerial(c.serial), c.expected) << c.serial;
    const Case changed[] = {
        {"../../etc/passwd", ".._.._etc_passwd"},
        {"/abs", "_abs"},
        {"a\\b", "a_b"},
        {"<>:\"|?*", "_______"},
        {std::string("a\0b", 3), "a_b"},
        {"\x01\x1F\x7F", "___"},
        {"tab\there\r\n", "tab_here__"},
        {".", "_"},
        {"..", "__"},
        {"", ""},
        {"CON", "_CON"}, // names Windows opens as devices, whatever follows them
        {"nul", "_nul"},
        {"Com1", "_Com1"},
        {"LPT9", "_LPT9"},
        {std::string(200, '7'), std::string(kLongestSerialPart, '7')},
    };
    for (const auto& c : changed)
        EXPECT_EQ(ReadablePart(FileNameSafeSerial(c.serial)), c.expected) << c.serial;
    EXPECT_EQ(ProposedFileName("SN/7"), FileNameSafeSerial("SN/7") + ".inf");
}

// Serials that read alike in a file name, the empty one and long ones still get names of their own.
TEST(FileNameSafeSerial, NoTwoSerialsShareAName) {
    const std::string longer(100, 'A');
    const std::string names[] = {FileNameSafeSerial("/"),         FileNameSafeSerial("\\"),
                                 FileNameSafeSerial("_"),         FileNameSafeSerial(":"),
                                 FileNameSafeSerial(""),          FileNameSafeSerial(longer + "1"),
                                 FileNameSafeSerial(longer + "2")};
    for (std::size_t i = 0; i < std::size(names); ++i)
        for (std::size_t j = i + 1; j < std::size(names); ++j)
            EXPECT_NE(names[i], names[j]) << i << " " << j;
    EXPECT_NE(ProposedFileName("").front(), '.') << "not a hidden file that summary passes over";
    EXPECT_LE(ProposedFileName(longer + "1").size(), kLongestSerialPart + 9 + 4);
}

TEST(SerialOfFileName, NameTable) {
    struct Case {
        const char* name;
        const char* serial;
    };
    const Case cases[] = {
        {"O:\\geraete\\Lexorant\\4711-0815_01.inf", "4711-0815"}, // autosave names
        {"/data/LX-12345_100.INF", "LX-12345"},
        {"backup_07.inf", "backup"},
        {".._x_02.inf", ".._x"},
        {"_01.inf", ""},
        {"A1_7.inf", ""},               // one digit: no autosave name, and "_" is no serial's
        {"4711-0815.inf", "4711-0815"}, // the name the save dialog proposes
        {"C:\\Kunde\\S-42.Inf", "S-42"},
        {"A1.inf", "A1"},
        {"readout.inf", ""}, // names the user chose
        {"Kunde Meier 3.inf", ""},
        {"test1.inf", ""},
        {"ABC.inf", ""},
        {"-42.inf", ""},
        {"4711.0815.inf", ""},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456.inf", ""}, // 33 characters
        {"4711-0815.partial", ""},
        {"4711-0815", ""},
        {".inf", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SerialOfFileName(c.name), c.serial) << c.name;
}

#ifndef _WIN32
using lexorant::testing::DriveO;

namespace {

class AutosaveFolder : public ::testing::Test {
protected:
    AutosaveFolder() : drive_(root_.path()) { fs::create_directories(Folder()); }
    fs::path Folder() const { return root_ / "geraete/Lexorant"; }
    void Place(const std::string& serial, int first, int last) {
        for (int k = first; k <= last; ++k) {
            char name[64];
            std::snprintf(name, sizeof name, "_%02d.inf", k);
            WriteBytes(Folder() / (serial + name), {1});
        }
    }
    static std::string Name(const std::string& rest) { return "O:\\geraete\\Lexorant\\" + rest; }

    TempFolder root_;
    DriveO drive_;
};

// The name an autosave chooses when its read starts.
std::string AutosaveFileName(const std::string& serial) {
    return AutosaveCandidate(serial, FirstFreeAutosaveNumber(serial));
}

} // namespace

TEST_F(AutosaveFolder, TakesTheFirstFreeNumber) {
    EXPECT_EQ(AutosaveFileName("A1"), Name("A1_01.inf"));
    Place("A1", 1, 3);
    EXPECT_EQ(AutosaveFileName("A1"), Name("A1_04.inf"));
    Place("A1", 5, 5);
    EXPECT_EQ(AutosaveFileName("A1"), Name("A1_04.inf"));
    EXPECT_EQ(AutosaveFileName("B2"), Name("B2_01.inf")); // other serials do not count
}

TEST_F(AutosaveFolder, CountsOnPastNinetyNineWithoutOverwriting) {
    Place("A1", 1, 99);
    EXPECT_EQ(AutosaveFileName("A1"), Name("A1_100.inf"));
    Place("A1", 100, 101);
    EXPECT_EQ(AutosaveFileName("A1"), Name("A1_102.inf"));
}

TEST_F(AutosaveFolder, AnythingUnderTheNameMakesItTaken) {
    Place("A1", 1, 1);
    fs::permissions(Folder() / "A1_01.inf", fs::perms::owner_read); // write-protected
    fs::create_directory(Folder() / "A1_02.inf");
    fs::create_symlink(Folder() / "nowhere", Folder() / "A1_03.inf"); // a dangling link
    EXPECT_EQ(AutosaveFileName("A1"), Name("A1_04.inf"));
}

TEST_F(AutosaveFolder, UsesTheSafeSerial) {
    const std::string safe = FileNameSafeSerial("../x");
    EXPECT_EQ(AutosaveFileName("../x"), Name(safe + "_01.inf"));
    Place(safe, 1, 1);
    EXPECT_EQ(AutosaveFileName("../x"), Name(safe + "_02.inf"));
}

TEST(AutosaveFileName, UnreachableFolderTakesNumberOne) {
    {
        DriveO noDrive(std::nullopt);
        EXPECT_EQ(AutosaveFileName("A1"), "O:\\geraete\\Lexorant\\A1_01.inf");
    }
    TempFolder emptyDrive; // the drive exists, the folder does not
    DriveO drive(emptyDrive.path());
    EXPECT_EQ(AutosaveFileName("A1"), "O:\\geraete\\Lexorant\\A1_01.inf");
}

// The name chosen at the start of a read has been taken by another laptop when the file is written.
TEST_F(AutosaveFolder, WritingTakesTheNextFreeNumberAndReplacesNothing) {
    RecordStore store;
    store.Replace({36, 0, 2}, {196, 3, 1});
    store.GInfoSlots[5] = 0x42;
    const int chosen = FirstFreeAutosaveNumber("A1");
    ASSERT_EQ(chosen, 1);
    Place("A1", 1, 2); // appeared meanwhile
    const WrittenFile written = WriteAutosaveInfoFile(store, "A1", chosen);
    EXPECT_EQ(written.name, Name("A1_03.inf"));
    EXPECT_EQ(written.error, "");
    EXPECT_EQ(ReadBytes(Folder() / "A1_03.inf"), EncodeInfoFile(store));
    EXPECT_EQ(ReadBytes(Folder() / "A1_01.inf"), std::vector<std::uint8_t>{1});
}

TEST(WriteAutosaveInfoFile, UnreachableFolderIsReportedWithTheChosenName) {
    TempFolder emptyDrive;
    DriveO drive(emptyDrive.path());
    const WrittenFile written = WriteAutosaveInfoFile(RecordStore{}, "A1", 1);
    EXPECT_EQ(written.name, "O:\\geraete\\Lexorant\\A1_01.inf");
    EXPECT_EQ(written.error, "Unable to write file " + written.name);
    EXPECT_TRUE(fs::is_empty(emptyDrive.path()));
}
#endif
