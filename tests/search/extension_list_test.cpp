// The extension list file routines on a throwaway program folder, and the move of a file to the
// Recycle Bin, which under Wine lands in the sandbox user's trash.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "search/extention_handller.h"
#include "search/search_test_support.h"
#include "support/sandbox.h"

namespace hm {
namespace {

namespace ext = ExtentionHandller;
using Lines = std::vector<std::string>;

class ExtensionList : public ::testing::Test {
protected:
    std::string ListFile() const { return program / "Ext.txt"; }
    std::string Stored() const { return test::ReadFileText(ListFile()); }
    void Store(const std::string& bytes) { test::WriteFileText(ListFile(), bytes); }

    test::TempFolder program;
};

TEST_F(ExtensionList, DefaultListIsFourLinesAndTheirPatternText) {
    Store("*.log\r\nreadme.txt\r\n");
    ext::WriteDefaultExtensions(program.path());
    EXPECT_EQ(Stored(), "*.tmp\r\n*.gid\r\n*.swp\r\n*.chk\r\n");
    EXPECT_EQ(ext::ReadExtensionPatterns(program.path()), "*.tmp;*.gid;*.swp;*.chk");
    EXPECT_EQ(ext::ReadExtensionList(program.path()), (Lines{"*.tmp", "*.gid", "*.swp", "*.chk"}));
}

TEST_F(ExtensionList, AMissingListReadsEmptyAndAppendMakesIt) {
    EXPECT_EQ(ext::ReadExtensionPatterns(program.path()), "");
    EXPECT_TRUE(ext::ReadExtensionList(program.path()).empty());
    ext::RemoveExtension(program.path(), "*.tmp");
    EXPECT_FALSE(test::FileExists(ListFile()));
    ext::AppendExtension(program.path(), "*.log");
    EXPECT_EQ(Stored(), "*.log\r\n");
}

TEST_F(ExtensionList, AppendAddsOneLineEvenAfterALastLineWithoutItsEnd) {
    Store("readme.txt");
    ext::AppendExtension(program.path(), "*.log");
    ext::AppendExtension(program.path(), "*.log");
    EXPECT_EQ(Stored(), "readme.txt\r\n*.log\r\n*.log\r\n");
    EXPECT_EQ(ext::ReadExtensionPatterns(program.path()), "*.log;*.log");
}

TEST_F(ExtensionList, RemoveTakesEveryEqualLineAndKeepsHandWrittenOnes) {
    Store("*.tmp\r\nreadme.txt\r\n*.gid\r\n*.tmp\r\n*.TMP\r\n");
    ext::RemoveExtension(program.path(), "*.tmp");
    EXPECT_EQ(Stored(), "readme.txt\r\n*.gid\r\n*.TMP\r\n");
    EXPECT_EQ(ext::ReadExtensionList(program.path()), (Lines{"*.gid", "*.TMP"}));
}

TEST_F(ExtensionList, ScratchFilesOfAnInterruptedRemoveNeverJoinTheList) {
    // What an interrupted run of the old scheme would have left behind.
    test::WriteFileText(program / "temp", "*.old\r\n*.stale\r\n");
    test::WriteFileText(program / "Ext.txt.new", "*.old\r\n");
    Store("*.tmp\r\n*.gid\r\n");
    ext::RemoveExtension(program.path(), "*.gid");
    EXPECT_EQ(Stored(), "*.tmp\r\n");
    // Nothing of the run stays beside the list.
    EXPECT_EQ(test::ListTree(program.path()), (Lines{"Ext.txt", "Ext.txt.new", "temp"}));
}

TEST_F(ExtensionList, AListThatCannotBeReadIsNotReplacedByTheNewLine) {
    Store("*.tmp\r\n");
    // Held open without sharing, as an editor might.
    HANDLE held = CreateFileW(Widen(ListFile()).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ext::AppendExtension(program.path(), "*.log");
    ext::RemoveExtension(program.path(), "*.tmp");
    CloseHandle(held);
    EXPECT_EQ(Stored(), "*.tmp\r\n");
}

TEST_F(ExtensionList, TheFileIsInTheAnsiCodePage) {
    if (GetACP() != 1252) {
        GTEST_SKIP() << "code page " << GetACP();
    }
    ext::AppendExtension(program.path(), "*.é");
    EXPECT_EQ(Stored(), "*.\xE9\r\n");
    Store("*.\xFC\r\n");
    EXPECT_EQ(ext::ReadExtensionPatterns(program.path()), "*.ü");
}

TEST(RecycleFile, MovesTheFileToTheRecycleBinAndLeavesOthers) {
    const std::string trash = test::TrashFilesFolder();
    if (trash.empty()) {
        GTEST_SKIP() << "no Wine trash folder";
    }
    test::TempFolder folder;
    const std::string name = "recycled-" + std::to_string(GetTickCount64()) + "-日本.tmp";
    test::WriteFileText(folder / name, "junk");
    test::WriteFileText(folder / "stay.tmp", "keep");
    ExtentionHandller::RecycleFile(folder / name);
    EXPECT_FALSE(test::FileExists(folder / name));
    EXPECT_TRUE(test::FileExists(folder / "stay.tmp"));
    EXPECT_EQ(test::ReadFileText(trash + "\\" + name), "junk") << trash;
    DeleteFileW(Widen(trash + "\\" + name).c_str());
    const std::string info = trash.substr(0, trash.size() - 5) + "info";  // ...\Trash\info
    DeleteFileW(Widen(info + "\\" + name + ".trashinfo").c_str());

    // A relative path would be read against the current folder: refused.
    test::CurrentFolderGuard current(folder.path());
    ExtentionHandller::RecycleFile("stay.tmp");
    EXPECT_TRUE(test::FileExists(folder / "stay.tmp"));
}

}  // namespace
}  // namespace hm
