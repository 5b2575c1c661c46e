#include "config/custom_list.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <random>
#include <string>

#include "platform/text.h"
#include "support/sandbox.h"

namespace hm {
namespace {

using test::TempFolder;

CustomLine Item(std::string path, std::string type) {
    return {std::move(path), std::move(type), true};
}

std::vector<std::string> PathsOf(const std::vector<CustomLine>& lines) {
    std::vector<std::string> paths;
    for (const CustomLine& line : lines) {
        paths.push_back(line.path);
    }
    return paths;
}

TEST(CustomList, WrittenListReadsBackLineForLine) {
    TempFolder folder;
    const std::string file = CustomListPath(folder.path());
    EXPECT_EQ(file, folder.path() + "\\cusd.dat");
    const std::vector<CustomLine> items = {Item("C:\\a.txt", "File"), Item("C:\\Temp", "Folder"),
                                           Item("C:\\odd", "Other")};
    ASSERT_TRUE(WriteCustomListFile(file, items));
    EXPECT_EQ(test::ReadFileText(file),
              "C:\\a.txt\tFile\r\nC:\\Temp\tFolder\r\nC:\\odd\tOther\r\n");

    std::vector<CustomLine> lines;
    ASSERT_TRUE(ReadCustomListFile(file, lines));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(PathsOf(lines), PathsOf(items));
    EXPECT_EQ(lines[1].type, "Folder");
    EXPECT_EQ(lines[2].type, "Other");
}

TEST(CustomList, FileIsInTheAnsiCodePage) {
    if (GetACP() != 1252) {
        GTEST_SKIP() << "expects the Western code page, not " << GetACP();
    }
    TempFolder folder;
    const std::string file = CustomListPath(folder.path());
    ASSERT_TRUE(WriteCustomListFile(file, {Item("C:\\Caf\xC3\xA9", "Folder")}));
    EXPECT_EQ(test::ReadFileText(file), "C:\\Caf\xE9\tFolder\r\n");

    test::WriteFileText(file, "C:\\\xC9t\xE9\tFile\r\n");
    std::vector<CustomLine> lines;
    ASSERT_TRUE(ReadCustomListFile(file, lines));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].path, "C:\\\xC3\x89t\xC3\xA9");
}

TEST(CustomList, EmptyListLeavesAnEmptyFile) {
    TempFolder folder;
    const std::string file = CustomListPath(folder.path());
    test::WriteFileText(file, "C:\\old\tFile\r\nC:\\older\tFolder\r\n");
    ASSERT_TRUE(WriteCustomListFile(file, {}));
    EXPECT_TRUE(test::FileExists(file));
    EXPECT_EQ(test::ReadFileText(file), "");

    std::vector<CustomLine> lines = {Item("stale", "File")};
    EXPECT_TRUE(ReadCustomListFile(file, lines));
    EXPECT_TRUE(lines.empty());
}

TEST(CustomList, MissingFileReadsAsNoList) {
    TempFolder folder;
    std::vector<CustomLine> lines = {Item("stale", "File")};
    EXPECT_FALSE(ReadCustomListFile(CustomListPath(folder.path()), lines));
    EXPECT_TRUE(lines.empty());
    EXPECT_FALSE(ReadCustomListFile(folder / "no\\such\\cusd.dat", lines));
}

TEST(CustomList, UnwritablePlacesReportFailure) {
    TempFolder folder;
    test::MakeFolders(folder / "cusd.dat");
    EXPECT_FALSE(WriteCustomListFile(folder / "cusd.dat", {Item("C:\\x", "File")}));
    EXPECT_TRUE(test::FolderExists(folder / "cusd.dat"));
    EXPECT_FALSE(WriteCustomListFile(folder / "missing\\cusd.dat", {}));
}

TEST(CustomList, OnlyExistingPathsWithAKnownTypeAreUsable) {
    TempFolder folder;
    const std::string file = folder / "doc.txt";
    const std::string sub = folder / "sub";
    test::WriteFileText(file, "x");
    test::MakeFolders(sub);

    const std::vector<CustomLine> lines = {
        Item(file, "File"),
        Item(sub, "Folder"),
        // Either kind of existence will do, whatever the type says.
        Item(file, "Folder"),
        Item(sub, "File"),
        Item(file, "file"),
        Item(sub, "FOLDER"),
        Item(file, "Other"),
        {file, "", false},
        Item(folder / "gone.txt", "File"),
        Item(folder / "gone", "Folder"),
        Item("", "File"),
        // A NUL would hide the rest of the path from the system.
        Item(sub + std::string("\0\\nothing-here", 14), "Folder"),
    };
    const auto usable = UsableCustomItems(lines);
    EXPECT_EQ(PathsOf(usable), (std::vector<std::string>{file, sub, file, sub}));
    EXPECT_EQ(usable[0].type, "File");
    EXPECT_EQ(usable[1].type, "Folder");
}

TEST(CustomList, RelativePathsAreNeverUsable) {
    // Even when they name something in the current folder, which is an accident of how the
    // program was started.
    TempFolder folder;
    test::WriteFileText(folder / "doc.txt", "x");
    test::MakeFolders(folder / "sub");
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(Widen(folder.path()).c_str());
    const auto usable = UsableCustomItems(
        {Item("doc.txt", "File"), Item("sub", "Folder"), Item(".\\sub", "Folder")});
    SetCurrentDirectoryW(previous);
    EXPECT_TRUE(usable.empty());
}

TEST(CustomList, PathsBeyondMaxPathAndUnnormalisedPathsWork) {
    TempFolder folder;
    std::string deep = folder.path();
    while (deep.size() < 300) {
        deep += "\\a-rather-long-folder-name";
    }
    const std::string file = deep + "\\deep.txt";
    test::WriteFileText(file, "x");
    ASSERT_TRUE(test::FileExists(file));

    const std::string dotted = folder.path() + "\\sub\\..\\sub/x.txt";
    test::WriteFileText(folder / "sub\\x.txt", "x");

    const std::vector<CustomLine> items = {Item(file, "File"), Item(deep, "Folder"),
                                           Item(dotted, "File")};
    EXPECT_EQ(PathsOf(UsableCustomItems(items)), (std::vector<std::string>{file, deep, dotted}));

    // The list itself may sit that deep too.
    ASSERT_TRUE(WriteCustomListFile(CustomListPath(deep), items));
    std::vector<CustomLine> lines;
    ASSERT_TRUE(ReadCustomListFile(CustomListPath(deep), lines));
    EXPECT_EQ(PathsOf(lines), PathsOf(items));
}

// Whatever sits at the list's path, the readers go on without it.

TEST(CustomListBadFiles, OversizedFileIsNotRead) {
    TempFolder folder;
    const std::string file = CustomListPath(folder.path());
    const std::string line = folder.path() + "\tFolder\r\n";
    std::string text;
    while (text.size() <= 16u * 1024 * 1024) {
        text += line;
    }
    test::WriteFileText(file, text);
    std::vector<CustomLine> lines;
    EXPECT_FALSE(ReadCustomListFile(file, lines));
    EXPECT_TRUE(lines.empty());
}

TEST(CustomListBadFiles, FolderOrLockedFileIsNotRead) {
    TempFolder folder;
    const std::string file = CustomListPath(folder.path());
    test::MakeFolders(file);
    std::vector<CustomLine> lines;
    EXPECT_FALSE(ReadCustomListFile(file, lines));

    const std::string locked = folder / "locked.dat";
    test::WriteFileText(locked, "C:\\x\tFile\r\n");
    HANDLE held = CreateFileW(Widen(locked).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(ReadCustomListFile(locked, lines));
    EXPECT_FALSE(WriteCustomListFile(locked, {}));
    CloseHandle(held);
    EXPECT_TRUE(ReadCustomListFile(locked, lines));
    EXPECT_EQ(lines.size(), 1u);
}

TEST(CustomListBadFiles, BinaryGarbageYieldsNothingUsable) {
    TempFolder folder;
    const std::string file = CustomListPath(folder.path());
    std::mt19937 random(7);
    for (int round = 0; round < 5; ++round) {
        std::string bytes;
        const std::size_t size = 1 + random() % 50000;
        while (bytes.size() < size) {
            bytes += static_cast<char>(random() & 0xFF);
        }
        test::WriteFileText(file, bytes);
        std::vector<CustomLine> lines;
        EXPECT_TRUE(ReadCustomListFile(file, lines));
        EXPECT_TRUE(UsableCustomItems(lines).empty()) << round;
    }
}

TEST(CustomListBadFiles, GarbageAroundAGoodLineKeepsTheGoodLine) {
    TempFolder folder;
    const std::string file = CustomListPath(folder.path());
    test::WriteFileText(file, std::string("\x01\x02\0\xFF\r\n", 6) + folder.path() +
                                  "\tFolder\r\nno tab here\r\n\t\t\t\r\n");
    std::vector<CustomLine> lines;
    ASSERT_TRUE(ReadCustomListFile(file, lines));
    EXPECT_EQ(PathsOf(UsableCustomItems(lines)), (std::vector<std::string>{folder.path()}));
}

}  // namespace
}  // namespace hm
