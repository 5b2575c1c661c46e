// The keep-list files on disk: appending, the atomic rewrite and what survives a failed one, and
// how the pass reads them.
#include "keeplists/keep_list_file.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "keeplists/keep_lists.h"
#include "platform/text.h"
#include "support/sandbox.h"

namespace hm {
namespace {

using Lines = std::vector<std::string>;

class KeepListFile : public ::testing::Test {
protected:
    std::string List() const { return UrlKeepListPath(program.path()); }
    std::string Temporary() const { return KeepListTemporaryPath(List()); }
    test::TempFolder program;
};

TEST_F(KeepListFile, AppendCreatesTheFileAndNeverJoinsAHandTypedLastLine) {
    EXPECT_EQ(AppendKeepListEntry(List(), "http://a.example/   "), 0u);
    EXPECT_EQ(AppendKeepListEntry(List(), "http://a.example/"), 0u);
    EXPECT_EQ(test::ReadFileText(List()), "http://a.example/\r\nhttp://a.example/\r\n");

    test::WriteFileText(List(), "http://typed.example/");
    EXPECT_EQ(AppendKeepListEntry(List(), "http://added.example/"), 0u);
    EXPECT_EQ(ReadKeepListEntries(List()),
              (Lines{"http://typed.example/", "http://added.example/"}));
}

TEST_F(KeepListFile, RewriteReplacesTheListAndAnEmptyListLeavesAnEmptyFile) {
    test::WriteFileText(List(), "a\r\nb\r\nc\r\n");
    EXPECT_EQ(RewriteKeepList(List(), Lines{"c  ", "a"}), 0u);
    EXPECT_EQ(test::ReadFileText(List()), "c\r\na\r\n");
    EXPECT_EQ(test::ListTree(program.path()), (Lines{"keepurl.dat"}));
    EXPECT_EQ(RewriteKeepList(List(), Lines{}), 0u);
    ASSERT_TRUE(test::FileExists(List()));
    EXPECT_EQ(test::ReadFileText(List()), "");
}

// A crash in the middle of a rewrite leaves the old list and a half-written temporary file.
TEST_F(KeepListFile, HalfWrittenTemporaryIsNeitherReadNorAnObstacle) {
    test::WriteFileText(List(), "http://old.example/\r\n");
    test::WriteFileText(Temporary(), "http://new.exa");
    EXPECT_EQ(KeepListFiles(program.path()).KeptAddresses(), (Lines{"http://old.example/"}));
    EXPECT_EQ(RewriteKeepList(List(), Lines{"http://new.example/"}), 0u);
    EXPECT_EQ(test::ReadFileText(List()), "http://new.example/\r\n");
    EXPECT_FALSE(test::FileExists(Temporary()));
}

TEST_F(KeepListFile, FailedRewriteKeepsTheOldListWhole) {
    const std::string old = "http://a.example/\r\nhttp://b.example/\r\n";
    test::WriteFileText(List(), old);
    // The temporary file cannot be written.
    test::MakeFolders(Temporary());
    EXPECT_NE(RewriteKeepList(List(), Lines{"http://b.example/"}), 0u);
    EXPECT_EQ(test::ReadFileText(List()), old);
    test::RemoveTree(Temporary());

    // Written, but it cannot take the list's place: another program holds the list open.
    const HANDLE held =
        CreateFileW(Widen(List()).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const std::uint32_t error = RewriteKeepList(List(), Lines{"http://b.example/"});
    CloseHandle(held);
    EXPECT_NE(error, 0u);
    EXPECT_EQ(test::ReadFileText(List()), old);
    EXPECT_FALSE(test::FileExists(Temporary()));
}

TEST_F(KeepListFile, PassReadsCookieLinesRawAddressesTrimmedAndOversizedFilesAsEmpty) {
    KeepListFiles pass(program.path());
    EXPECT_TRUE(pass.KeptAddresses().empty());
    EXPECT_TRUE(pass.KeptCookies().empty());
    test::WriteFileText(List(), "http://a.example/  \r\n\r\nhttp://b.example/");
    test::WriteFileText(CookieKeepListPath(program.path()), "C:\\c\\k.txt \r\nC:\\c\\j.txt\r\n");
    EXPECT_EQ(pass.KeptAddresses(), (Lines{"http://a.example/", "", "http://b.example/"}));
    EXPECT_EQ(pass.KeptCookies(), (Lines{"C:\\c\\k.txt ", "C:\\c\\j.txt"}));

    std::string big(static_cast<std::size_t>(kLargestKeepListBytes) + 1, 'x');
    big[10] = '\n';
    test::WriteFileText(List(), big);
    EXPECT_TRUE(pass.KeptAddresses().empty());
    big.pop_back();
    test::WriteFileText(List(), big);
    EXPECT_EQ(pass.KeptAddresses().size(), 2u);
}

TEST_F(KeepListFile, FileIsInTheAnsiCodePage) {
    if (GetACP() != 1252) {
        GTEST_SKIP() << "expects the Western code page, not " << GetACP();
    }
    EXPECT_EQ(AppendKeepListEntry(List(), "http://caf\xC3\xA9.example/"), 0u);
    EXPECT_EQ(RewriteKeepList(CookieKeepListPath(program.path()), Lines{"C:\\\xC3\x89t\xC3\xA9"}),
              0u);
    EXPECT_EQ(test::ReadFileText(List()), "http://caf\xE9.example/\r\n");
    EXPECT_EQ(test::ReadFileText(CookieKeepListPath(program.path())), "C:\\\xC9t\xE9\r\n");
    EXPECT_EQ(ReadKeepListEntries(List()), (Lines{"http://caf\xC3\xA9.example/"}));
}

TEST_F(KeepListFile, CookieFilesAreTheDotTxtFilesDirectlyInTheFolderByName) {
    const std::string folder = program / "Cookies";
    for (const char* name : {"c@site[1].txt", "a.txt.bak", "B@x[2].txt", "index.dat", "d.TXT"}) {
        test::WriteFileText(folder + "\\" + name, "x");
    }
    test::WriteFileText(folder + "\\sub.txt\\deep.txt", "x");
    EXPECT_EQ(ListCookieFiles(folder),
              (Lines{folder + "\\a.txt.bak", folder + "\\B@x[2].txt", folder + "\\c@site[1].txt"}));
    // A failed folder lookup answers "Error"; a folder of that name in the current folder is not
    // the cookie folder.
    test::WriteFileText(program / "Error\\stray.txt", "x");
    test::CurrentFolderGuard inProgram(program.path());
    EXPECT_TRUE(ListCookieFiles("Error").empty());
}

}  // namespace
}  // namespace hm
