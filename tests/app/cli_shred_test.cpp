// "hushmark-cli shred", run as its own process from a throwaway program folder. The refusals are
// aimed at stand-ins: the environment names throwaway folders as the Windows and profile
// folders, the program folder is the throwaway copy's, and the drive root is the sandbox's own
// q: drive; a refusal that failed would reach only those. (A 32-bit program gets ProgramFiles
// set afresh by the system when it starts, so that stand-in is tested in-process only.)
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/path_rules.h"
#include "support/process.h"
#include "support/sandbox.h"
#include "support/shred_support.h"

namespace hm {
namespace {

using test::ProcessResult;
using test::SplitLines;
using test::TempFolder;

class CliShredTest : public ::testing::Test {
protected:
    CliShredTest() {
        cli = program / "hushmark-cli.exe";
        const std::string built =
            std::string(ParentOf(test::ExecutableFolder())) + "\\hushmark-cli.exe";
        EXPECT_TRUE(test::CopyFileTo(built, cli)) << built;
    }
    ProcessResult Shred(std::vector<std::string> args) {
        args.insert(args.begin(), "shred");
        return test::RunProgram(cli, args);
    }

    TempFolder program;
    TempFolder area;
    TempFolder elsewhere;
    std::string cli;
};

TEST_F(CliShredTest, ATreeGoesWithOneLinePerItemAndExitCodeZero) {
    const std::string tree = area / "tree";
    test::WriteFileText(tree + "\\a.txt", test::SecretText(1000));
    test::WriteFileText(tree + "\\sub\\b.txt", test::SecretText(10));
    ASSERT_TRUE(test::MakeWitness(tree + "\\a.txt", elsewhere / "witness"));

    const ProcessResult result = Shred({tree});
    EXPECT_EQ(result.exitCode, 0u) << result.out << result.err;
    const std::vector<std::string> expected{
        "shredded\t" + tree + "\\a.txt\t1,000 bytes",
        "shredded\t" + tree + "\\sub\\b.txt\t10 bytes", "removed\t" + tree + "\\sub\tfolder",
        "removed\t" + tree + "\tfolder",
        "Shredded 2 files (1,010 bytes) with one pass of random data."};
    EXPECT_EQ(SplitLines(result.out), expected);
    EXPECT_FALSE(test::FolderExists(tree));
    EXPECT_EQ(test::ReadShared(elsewhere / "witness"), "");
    EXPECT_FALSE(test::TreeHolds(area.path(), test::kSecret));
}

TEST_F(CliShredTest, PassesCanBeChosen) {
    test::WriteFileText(area / "one.txt", "x");
    test::WriteFileText(area / "two.txt", "x");
    ProcessResult result = Shred({"--passes", "3", area / "one.txt"});
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(SplitLines(result.out).back(),
              "Shredded 1 file (1 byte) with 3 passes of random data.");
    result = Shred({"--passes=2", "--", area / "two.txt"});
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(SplitLines(result.out).back(),
              "Shredded 1 file (1 byte) with 2 passes of random data.");
    EXPECT_TRUE(test::ListTree(area.path()).empty());
}

TEST_F(CliShredTest, UsageErrorsChangeNothing) {
    const std::string file = area / "kept.txt";
    test::WriteFileText(file, "x");
    for (const auto& args : std::vector<std::vector<std::string>>{{},
                                                                  {"--passes", "4", file},
                                                                  {"--passes", "0", file},
                                                                  {"--frob", file},
                                                                  {"--passes"}}) {
        const ProcessResult result = Shred(args);
        EXPECT_EQ(result.exitCode, 2u);
        EXPECT_NE(result.err.find("hushmark-cli shred"), std::string::npos) << result.err;
        EXPECT_EQ(result.out, "");
    }
    EXPECT_TRUE(test::FileExists(file));
}

TEST_F(CliShredTest, RefusedPathsAreNamedAndKept) {
    TempFolder windows;
    TempFolder profile;
    for (const TempFolder* folder : {&windows, &profile}) {
        test::WriteFileText(*folder / "keep.txt", "keep me");
    }
    const test::EnvironmentGuard windir("windir", windows.path());
    const test::EnvironmentGuard userProfile("USERPROFILE", profile.path());
    test::WriteFileText(area / "fine.txt", "x");

    const ProcessResult result = Shred({"relative.txt", "Q:/", program.path(), windows / "keep.txt",
                                        profile.path(), area / "fine.txt"});
    EXPECT_EQ(result.exitCode, 1u);
    const std::vector<std::string> expected{
        "refused\trelative.txt\tit is not a full path (a path relative to the current folder is "
        "refused)",
        "refused\tQ:/\tit is the root of a drive or network share",
        "refused\t" + program.path() + "\tit is this program's own folder",
        "refused\t" + windows / "keep.txt" + "\tit is inside the Windows folder",
        "refused\t" + profile.path() + "\tit is your user profile folder",
        "shredded\t" + area / "fine.txt" + "\t1 byte",
        "Shredded 1 file (1 byte) with one pass of random data. 5 paths were refused."};
    EXPECT_EQ(SplitLines(result.out), expected);
    for (const TempFolder* folder : {&windows, &profile}) {
        EXPECT_EQ(test::ReadShared(*folder / "keep.txt"), "keep me");
    }
    EXPECT_TRUE(test::FileExists("Q:\\keep.txt"));
    EXPECT_TRUE(test::FileExists(cli));
}

TEST_F(CliShredTest, AFileInUseIsReportedKeptAndTheExitCodeSaysSo) {
    const std::string file = area / "open.db";
    test::WriteFileText(file, test::SecretText(100));
    test::HeldOpen browser(file);
    ASSERT_TRUE(browser.held());
    const ProcessResult result = Shred({file});
    EXPECT_EQ(result.exitCode, 1u);
    ASSERT_FALSE(SplitLines(result.out).empty());
    EXPECT_EQ(SplitLines(result.out).front(), "kept\t" + file + "\tin use by another program");
    EXPECT_EQ(test::ReadShared(file), test::SecretText(100));
}

}  // namespace
}  // namespace hm
