#include "config/inifun.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <random>
#include <regex>
#include <string>

#include "platform/text.h"
#include "support/sandbox.h"

namespace hm {
namespace {

using test::TempFolder;

const std::string kEAcute = "\xC3\xA9";

bool Contains(const std::string& text, const std::string& piece) {
    return text.find(piece) != std::string::npos;
}

TEST(Inifun, ValuesRoundTripWithNamesInAnyCase) {
    TempFolder folder;
    const std::string file = folder / "hushsd.dat";
    WriteIniValue(file, "OPERA", "Images", "1");
    WriteIniValue(file, "Options", "CleanTime", "9:30");
    EXPECT_EQ(test::ReadFileText(file), "[OPERA]\r\nImages=1\r\n[Options]\r\nCleanTime=9:30\r\n");

    EXPECT_EQ(ReadIniValue(file, "Opera", "images"), "1");
    EXPECT_EQ(ReadIniValue(file, "opera", "IMAGES"), "1");
    EXPECT_EQ(ReadIniValue(file, "OPTIONS", "cleantime"), "9:30");

    // A second write replaces the value instead of adding a key.
    WriteIniValue(file, "opera", "IMAGES", "0");
    EXPECT_EQ(ReadIniValue(file, "OPERA", "Images"), "0");
    EXPECT_EQ(ReadIniSection("OPERA", file), (std::vector<std::string>{"Images=0"}));
}

TEST(Inifun, MissingFileSectionOrKeyReadsEmpty) {
    TempFolder folder;
    const std::string file = folder / "hushsd.dat";
    EXPECT_EQ(ReadIniValue(file, "EXPLORER", "cache"), "");
    EXPECT_TRUE(ReadIniSection("EXPLORER", file).empty());
    // Reading never brings the file into being.
    EXPECT_FALSE(test::FileExists(file));

    WriteIniValue(file, "EXPLORER", "cache", "1");
    EXPECT_TRUE(test::FileExists(file));
    EXPECT_EQ(ReadIniValue(file, "EXPLORER", "cookies"), "");
    EXPECT_EQ(ReadIniValue(file, "WINDOWS", "cache"), "");
    EXPECT_TRUE(ReadIniSection("WINDOWS", file).empty());
}

TEST(Inifun, ReadsTrimBlanks) {
    TempFolder folder;
    const std::string file = folder / "hushsd.dat";
    // Windows stores the blanks as given, Wine drops the leading ones; the read trims either way.
    WriteIniValue(file, "EXPLORER", "history", "  1  ");
    EXPECT_TRUE(Contains(test::ReadFileText(file), "1  \r\n"));
    EXPECT_EQ(ReadIniValue(file, "EXPLORER", "history"), "1");

    test::WriteFileText(folder / "hand.dat", "[EXPLORER]\r\n  cache =   1   \r\n");
    EXPECT_EQ(ReadIniValue(folder / "hand.dat", "EXPLORER", "cache"), "1");
}

TEST(Inifun, LongValuesAreStoredAs128AndReadAs127Characters) {
    TempFolder folder;
    const std::string file = folder / "hushsd.dat";
    std::string value;
    for (int i = 0; i < 200; ++i) {
        value += static_cast<char>('a' + i % 26);
    }
    WriteIniValue(file, "Options", "long", value);

    const std::string text = test::ReadFileText(file);
    EXPECT_TRUE(Contains(text, "long=" + value.substr(0, 128) + "\r\n")) << text;
    EXPECT_EQ(ReadIniValue(file, "Options", "long"), value.substr(0, 127));

    // A longer value written by hand is cut on the way in as well.
    test::WriteFileText(folder / "hand.dat", "[s]\r\nk=" + value + "\r\n");
    EXPECT_EQ(ReadIniValue(folder / "hand.dat", "s", "k"), value.substr(0, 127));
}

TEST(Inifun, FileIsInTheAnsiCodePage) {
    if (GetACP() != 1252) {
        GTEST_SKIP() << "expects the Western code page, not " << GetACP();
    }
    TempFolder folder;
    const std::string file = folder / "hushsd.dat";
    WriteIniValue(file, "Options", "name", "Caf" + kEAcute);
    const std::string text = test::ReadFileText(file);
    EXPECT_TRUE(Contains(text, "name=Caf\xE9\r\n")) << text;
    EXPECT_FALSE(Contains(text, "\xC3\xA9"));
    EXPECT_NE(text.substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(ReadIniValue(file, "Options", "name"), "Caf" + kEAcute);

    // Files written by other tools in the code page read the same way.
    test::WriteFileText(folder / "hand.dat", "[\xC9t\xE9]\r\nk=\xE9t\xE9\r\n");
    EXPECT_EQ(ReadIniValue(folder / "hand.dat", "\xC3\x89t" + kEAcute, "k"),
              kEAcute + "t" + kEAcute);

    // Characters the code page lacks do not survive; the program accepts that.
    WriteIniValue(file, "Options", "kanji", "\xE6\x97\xA5");
    EXPECT_EQ(ReadIniValue(file, "Options", "kanji"), "?");
}

TEST(Inifun, SectionListsValueLinesInFileOrder) {
    TempFolder folder;
    const std::string file = folder / "plugin.ini";
    test::WriteFileText(
        file,
        "[Info]\r\nName=Plug\r\n[Files]\r\n"
        "File1=%APPDATA%\\x.dat\r\nFolder1=C:\\Temp\\y\r\n"
        "Regkey1=HKEY_CURRENT_USER\\Software\\z\r\n\r\n[Empty]\r\n[Other]\r\nq=1\r\n");
    EXPECT_EQ(ReadIniSection("files", file),
              (std::vector<std::string>{"File1=%APPDATA%\\x.dat", "Folder1=C:\\Temp\\y",
                                        "Regkey1=HKEY_CURRENT_USER\\Software\\z"}));
    EXPECT_EQ(ReadIniSection("Info", file), (std::vector<std::string>{"Name=Plug"}));
    EXPECT_TRUE(ReadIniSection("Empty", file).empty());
    EXPECT_TRUE(ReadIniSection("Missing", file).empty());
}

TEST(Inifun, WindowsVersionIsMajorDotMinor) {
    const std::string version = GetWindowsVersion();
    std::smatch match;
    ASSERT_TRUE(std::regex_match(version, match, std::regex("([0-9]+)\\.([0-9]+)"))) << version;
    EXPECT_GE(std::stoi(match[1].str()), 5);
}

// Whatever sits at the settings path, the program reads on and is not stopped.

TEST(IniBadFiles, OversizedFileReadsEmptyAndIsLeftAlone) {
    TempFolder folder;
    const std::string file = folder / "hushsd.dat";
    const std::string head = "[Options]\r\nexit=1\r\n;";
    const std::size_t limit = 4u * 1024 * 1024;
    std::string text = head + std::string(limit - head.size() + 1, 'x') + "\r\n";
    test::WriteFileText(file, text);

    EXPECT_EQ(ReadIniValue(file, "Options", "exit"), "");
    EXPECT_TRUE(ReadIniSection("Options", file).empty());
    WriteIniValue(file, "Options", "exit", "0");
    EXPECT_EQ(test::ReadFileText(file).size(), text.size());

    // At the limit the file is still read.
    text = head + std::string(limit - head.size() - 2, 'x') + "\r\n";
    ASSERT_EQ(text.size(), limit);
    test::WriteFileText(file, text);
    EXPECT_EQ(ReadIniValue(file, "Options", "exit"), "1");
}

TEST(IniBadFiles, FolderInPlaceOfTheFileReadsEmpty) {
    TempFolder folder;
    const std::string file = folder / "hushsd.dat";
    test::MakeFolders(file);
    EXPECT_EQ(ReadIniValue(file, "Options", "exit"), "");
    EXPECT_TRUE(ReadIniSection("Options", file).empty());
    WriteIniValue(file, "Options", "exit", "1");
    EXPECT_TRUE(test::FolderExists(file));
}

TEST(IniBadFiles, FileHeldOpenByAnotherReadsEmptyAndKeepsItsText) {
    TempFolder folder;
    const std::string file = folder / "hushsd.dat";
    const std::string text = "[Options]\r\nexit=1\r\n";
    test::WriteFileText(file, text);
    HANDLE held = CreateFileW(Widen(file).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ReadIniValue(file, "Options", "exit"), "");
    EXPECT_TRUE(ReadIniSection("Options", file).empty());
    WriteIniValue(file, "Options", "exit", "0");
    CloseHandle(held);

    EXPECT_EQ(test::ReadFileText(file), text);
    EXPECT_EQ(ReadIniValue(file, "Options", "exit"), "1");
}

TEST(IniBadFiles, BinaryGarbageNeitherCrashesNorYieldsKeys) {
    TempFolder folder;
    std::mt19937 random(20240611);
    const std::vector<std::string> starts = {
        "", "\xFF\xFE", "\xFE\xFF", "\xEF\xBB\xBF", "[", std::string("\0\0", 2)};
    for (std::size_t i = 0; i < starts.size() * 3; ++i) {
        const std::string file = folder / ("garbage" + std::to_string(i) + ".dat");
        std::string bytes = starts[i % starts.size()];
        const std::size_t size = 1 + random() % 20000;
        while (bytes.size() < size) {
            bytes += static_cast<char>(random() & 0xFF);
        }
        test::WriteFileText(file, bytes);

        EXPECT_EQ(ReadIniValue(file, "Options", "exit"), "") << i;
        EXPECT_TRUE(ReadIniSection("Options", file).empty()) << i;
        // Writing into it is allowed; the value is then found like any other.
        WriteIniValue(file, "Options", "exit", "1");
        EXPECT_EQ(ReadIniValue(file, "Options", "exit"), "1") << i;
    }
}

TEST(IniBadFiles, FileInAFolderThatDoesNotExistStaysUnwritten) {
    TempFolder folder;
    const std::string file = folder / "missing\\hushsd.dat";
    WriteIniValue(file, "Options", "exit", "1");
    EXPECT_FALSE(test::FileExists(file));
    EXPECT_EQ(ReadIniValue(file, "Options", "exit"), "");
}

}  // namespace
}  // namespace hm
