// "hushmark-cli search" run as its own process, with its own copy of the program beside a
// throwaway Ext.txt.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/path_rules.h"
#include "search/extention_handller.h"
#include "support/process.h"
#include "support/sandbox.h"

namespace hm {
namespace {

using Lines = std::vector<std::string>;

class CliSearch : public ::testing::Test {
protected:
    CliSearch() {
        cli = program / "hushmark-cli.exe";
        const std::string built =
            std::string(ParentOf(test::ExecutableFolder())) + "\\hushmark-cli.exe";
        EXPECT_TRUE(test::CopyFileTo(built, cli)) << built;
        ExtentionHandller::WriteDefaultExtensions(program.path());
        for (const char* file : {"a.tmp", "b.log", "sub\\c.TMP", "sub\\deep\\d.chk"}) {
            test::WriteFileOfSize(tree / file, 1000);
        }
    }
    test::ProcessResult Run(const Lines& args) { return test::RunProgram(cli, args); }
    // The listed paths, sorted, and the two summary lines.
    static Lines PathsOf(const Lines& lines) {
        Lines paths;
        for (std::size_t index = 0; index + 2 < lines.size(); ++index) {
            paths.push_back(
                lines[index].substr(0, lines[index].find("   Size:1000   LastModyfied:")));
        }
        std::sort(paths.begin(), paths.end());
        return paths;
    }

    test::TempFolder program;
    test::TempFolder tree;
    std::string cli;
};

TEST_F(CliSearch, ListsWhatTheWindowWouldListThenTheSummaryAndDeletesNothing) {
    const Lines before = test::ListTree(tree.path());
    const test::ProcessResult result = Run({"search", tree.path()});
    EXPECT_EQ(result.exitCode, 0u) << result.err;
    const Lines lines = test::SplitLines(result.out);
    ASSERT_EQ(lines.size(), 5u) << result.out;
    const std::string root = tree.path() + "\\";
    EXPECT_EQ(PathsOf(lines),
              (Lines{root + "a.tmp", root + "sub\\c.TMP", root + "sub\\deep\\d.chk"}));
    EXPECT_EQ(lines[3], "3  Files Found      .tmp - 2    .gid - 0    .swp - 0    .chk - 1");
    EXPECT_EQ(lines[4], "Total size: 3kb");
    EXPECT_EQ(test::ListTree(tree.path()), before);
}

TEST_F(CliSearch, TakesAPatternTextAndCanStayInTheFolder) {
    const test::ProcessResult result =
        Run({"search", tree.path(), "*.log;*.tmp", "--no-subfolders"});
    EXPECT_EQ(result.exitCode, 0u) << result.err;
    const Lines lines = test::SplitLines(result.out);
    ASSERT_EQ(lines.size(), 4u) << result.out;
    EXPECT_EQ(PathsOf(lines), (Lines{tree / "a.tmp", tree / "b.log"}));
    EXPECT_EQ(lines[2], "2  Files Found      .log - 1    .tmp - 1");
}

TEST_F(CliSearch, AMissingFolderOrPatternIsRefused) {
    const std::pair<Lines, const char*> cases[] = {
        {{"search", tree / "missing"}, "not a folder"},
        {{"search", tree.path(), ""}, "no pattern"},
        {{"search", tree.path(), "*.tmp", "extra"}, "usage: hushmark-cli"},
    };
    for (const auto& [args, message] : cases) {
        const test::ProcessResult result = Run(args);
        EXPECT_EQ(result.exitCode, 2u) << args.back();
        EXPECT_NE(result.err.find(message), std::string::npos) << result.err;
        EXPECT_EQ(result.out, "");
    }
}

}  // namespace
}  // namespace hm
