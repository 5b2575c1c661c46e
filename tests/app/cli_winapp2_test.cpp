// "hushmark-cli list" with community rules (winapp2.ini) beside the program.
#include <windows.h>

#include <gtest/gtest.h>

#include "engine/winapp2.h"
#include "platform/path_rules.h"
#include "platform/text.h"
#include "support/process.h"
#include "support/sandbox.h"

namespace hm {
namespace {

TEST(CliWinapp2, ListShowsTheRulesThatApplyHereAndWhySomeAreRefused) {
    test::TempFolder program;
    test::TempRegKey key;
    const std::string cli = program / "hushmark-cli.exe";
    ASSERT_TRUE(test::CopyFileTo(
        std::string(ParentOf(test::ExecutableFolder())) + "\\hushmark-cli.exe", cli));
    test::WriteFileText(
        Winapp2FilePath(program.path()),
        "[Ticked Rule *]\r\nLangSecRef=3021\r\nDetect=HKCU\\" + key.subKey() +
            "\r\nFileKey1=%Temp%\\hm-none|*.tmp\r\n"
            "[Unticked Rule *]\r\nLangSecRef=3022\r\nFileKey1=%Temp%\\hm-none|*.tmp\r\n"
            "[Absent Rule *]\r\nDetect=HKCU\\" +
            key.subKey() +
            "\\Nope\r\nFileKey1=%Temp%|*.tmp\r\n"
            "[Wide Rule *]\r\nFileKey1=%WinDir%|*.*\r\n");
    TickWinapp2(program / "hushsd.dat", "Ticked Rule", true);

    const test::ProcessResult result = test::RunProgram(cli, {"list"});
    ASSERT_EQ(result.exitCode, 0u);
    std::vector<std::string> rules;
    for (const std::string& line : test::SplitLines(result.out)) {
        if (line.rfind("Winapp2\t", 0) == 0) {
            rules.push_back(line);
        }
    }
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    EXPECT_EQ(rules, (std::vector<std::string>{
                         "Winapp2\tTicked Rule\tApplications\tticked",
                         "Winapp2\tUnticked Rule\tInternet\tnot ticked",
                         "Winapp2\tWide Rule\tOther\trefused\tFileKey1 reaches the protected "
                         "folder " +
                             Narrow(windows) + " with a pattern that selects every file",
                     }));
}

}  // namespace
}  // namespace hm
