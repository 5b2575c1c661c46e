// How the registry cleaner reads command lines and paths, against a table of files: a line is
// judged missing only when everything it could mean is surely absent.
#include "regclean/judge_rules.h"

#include <gtest/gtest.h>

#include "regclean_fakes.h"

namespace hm::regclean {
namespace {

using test::TableOracle;

struct Case {
    const char* line;
    PathState state;
    const char* pointsAt;  // nullptr: not checked
    TargetKind kind = TargetKind::Program;
};

class CommandRules : public ::testing::Test {
protected:
    CommandRules() {
        for (const char* path :
             {"C:\\Program Files\\Tool Kit\\tool.exe",
              "C:\\Program Files (x86)\\Old Vendor\\legacy.exe",
              "C:\\Windows\\Sysnative\\native.exe", "C:\\Windows\\System32\\wow.exe",
              "C:\\Users\\me\\AppData\\Local\\App\\app.exe", "C:\\Libs\\My Lib\\helper.dll",
              "C:\\Setup\\pkg.msi", "C:\\Tools\\noext.exe", "C:\\Libs\\plain.dll"}) {
            oracle.Add(path);
        }
        oracle.AddUnknown("D:\\Removable\\x.exe");
    }
    TableOracle oracle;
};

TEST_F(CommandRules, JudgesEachFormWindowsAccepts) {
    const Case cases[] = {
        {"\"C:\\Program Files\\Tool Kit\\tool.exe\" /min", PathState::Exists, nullptr},
        {"\"C:\\Program Files\\Tool Kit\\gone.exe\" /min", PathState::Missing,
         "C:\\Program Files\\Tool Kit\\gone.exe"},
        // Unquoted with blanks: every run of words up to a blank may be the program.
        {"C:\\Program Files\\Tool Kit\\tool.exe -a -b", PathState::Exists, nullptr},
        {"C:\\Program Files\\Gone Kit\\tool.exe -a", PathState::Missing,
         "C:\\Program Files\\Gone Kit\\tool.exe"},
        {"C:\\Program Files\\Tool Kit\\tool.exe \"%1\"", PathState::Exists, nullptr},
        {"C:\\Program Files\\Gone Kit\\tool.exe \"%1\" /dde", PathState::Missing,
         "C:\\Program Files\\Gone Kit\\tool.exe"},
        {"\"C:\\Program Files\\Tool Kit\\tool.exe\" \"%1\"", PathState::Exists, nullptr},
        {"\"C:/Program Files/Tool Kit/tool.exe\"", PathState::Exists, nullptr},
        {"\\??\\C:\\Program Files\\Tool Kit\\tool.exe", PathState::Exists, nullptr},
        // A 32-bit process on 64-bit Windows: ProgramFiles has both values.
        {"%ProgramFiles%\\Tool Kit\\tool.exe", PathState::Exists, nullptr},
        {"%ProgramFiles%\\Old Vendor\\legacy.exe", PathState::Exists, nullptr},
        {"%ProgramFiles%\\Nobody\\x.exe", PathState::Missing,
         "C:\\Program Files (x86)\\Nobody\\x.exe"},
        {"%localappdata%\\App\\app.exe", PathState::Exists, nullptr},
        {"%NOT_SET_HERE%\\x.exe", PathState::Unknown, nullptr},
        // System32 of a 32-bit process is SysWOW64; the native folder is reached as Sysnative.
        {"C:\\Windows\\System32\\native.exe", PathState::Exists, nullptr},
        {"%SystemRoot%\\system32\\wow.exe /x", PathState::Exists, nullptr},
        {"C:\\Windows\\System32\\nothere.exe", PathState::Missing, nullptr},
        {"rundll32.exe \"C:\\Libs\\My Lib\\helper.dll\",Run", PathState::Exists, nullptr,
         TargetKind::RundllLibrary},
        {"rundll32.exe \"C:\\Libs\\My Lib\\gone.dll\",Run", PathState::Missing,
         "C:\\Libs\\My Lib\\gone.dll", TargetKind::RundllLibrary},
        {"%SystemRoot%\\System32\\rundll32.exe C:\\Libs\\My Lib\\helper.dll,Run", PathState::Exists,
         nullptr, TargetKind::RundllLibrary},
        {"RUNDLL32 C:\\Libs\\plain,Entry", PathState::Exists, nullptr, TargetKind::RundllLibrary},
        {"C:\\Windows\\System32\\rundll32.exe C:\\Gone\\x.dll,Entry", PathState::Missing,
         "C:\\Gone\\x.dll", TargetKind::RundllLibrary},
        {"rundll32 shell32.dll,Control_RunDLL desk.cpl", PathState::Unknown, nullptr},
        {"rundll32.exe", PathState::Unknown, nullptr},
        {"MsiExec.exe /X{12345678-1234-1234-1234-123456789012}", PathState::Unknown, nullptr},
        {"msiexec /i \"C:\\Setup\\pkg.msi\" /qn", PathState::Exists, nullptr},
        {"msiexec.exe /qb /package C:\\Setup\\gone.msi", PathState::Missing, "C:\\Setup\\gone.msi",
         TargetKind::MsiPackage},
        {"msiexec.exe /fvomus C:\\Setup\\gone.msi", PathState::Missing, nullptr,
         TargetKind::MsiPackage},
        {"msiexec.exe /qn", PathState::Unknown, nullptr},
        // Windows looks for bare names along paths this program does not know.
        {"notepad.exe %1", PathState::Unknown, nullptr},
        {"\"%1\" %*", PathState::Unknown, nullptr},
        {"D:\\Removable\\x.exe", PathState::Unknown, nullptr},
        {"\\\\server\\share\\x.exe", PathState::Unknown, nullptr},
        {"\"C:\\Tools\\noext\" --flag", PathState::Exists, nullptr},
        {"", PathState::Unknown, nullptr},
        {"   ", PathState::Unknown, nullptr},
        {"\"C:\\unterminated\\x.exe", PathState::Unknown, nullptr},
        {"\"C:\\Gone\\wild*.exe\"", PathState::Unknown, nullptr},
    };
    for (const Case& c : cases) {
        const Verdict verdict = JudgeCommand(c.line, oracle);
        EXPECT_EQ(verdict.state, c.state) << c.line;
        if (c.pointsAt != nullptr) {
            EXPECT_EQ(verdict.pointsAt, c.pointsAt) << c.line;
        }
        if (c.state == PathState::Missing) {
            EXPECT_EQ(verdict.kind, c.kind) << c.line;
        }
    }
}

TEST_F(CommandRules, PlainPathsTakeNoArguments) {
    EXPECT_EQ(JudgePath("C:\\Program Files\\Tool Kit\\tool.exe", oracle).state, PathState::Exists);
    // A path with blanks is one path: "C:\Program" is no candidate of it.
    oracle.Add("C:\\Program");
    EXPECT_EQ(JudgePath("C:\\Program Files\\Gone\\x.dll", oracle).state, PathState::Missing);
    EXPECT_EQ(JudgePath("\"C:\\Libs\\My Lib\\helper.dll\"", oracle).state, PathState::Exists);
    EXPECT_EQ(JudgePath("relative\\x.dll", oracle).state, PathState::Unknown);
    EXPECT_EQ(JudgePath("C:\\Libs\\plain", oracle).state, PathState::Missing);
}

TEST_F(CommandRules, VariablesExpandAsWindowsDoes) {
    EXPECT_EQ(ExpandVariables("%SystemRoot%\\a", oracle),
              std::vector<std::string>{"C:\\Windows\\a"});
    EXPECT_EQ(ExpandVariables("%ProgramFiles%\\b", oracle),
              (std::vector<std::string>{"C:\\Program Files (x86)\\b", "C:\\Program Files\\b"}));
    // Percent signs that cannot open a name stay, and the closing one may open the next.
    EXPECT_EQ(ExpandVariables("\"%1\" \"%2\"", oracle), std::vector<std::string>{"\"%1\" \"%2\""});
    EXPECT_EQ(ExpandVariables("100% %windir%", oracle),
              std::vector<std::string>{"100% C:\\Windows"});
    EXPECT_EQ(ExpandVariables("50%%", oracle), std::vector<std::string>{"50%%"});
    EXPECT_TRUE(ExpandVariables("%Unset_Name%", oracle).empty());
    // Too many combinations: left unjudged rather than probed without end.
    std::string many;
    for (int i = 0; i < 5; ++i) {
        many += "%ProgramFiles%";
    }
    EXPECT_TRUE(ExpandVariables(many, oracle).empty());
}

TEST_F(CommandRules, RedirectionDependsOnTheProcessAndTheSystem) {
    SystemFolders folders{"C:\\Windows\\", true, false};
    EXPECT_EQ(
        RedirectionAlternatives("C:\\WINDOWS\\system32\\x.dll", folders),
        (std::vector<std::string>{"C:\\WINDOWS\\system32\\x.dll", "C:\\Windows\\SysWOW64\\x.dll"}));
    folders.wow64Process = true;
    EXPECT_EQ(RedirectionAlternatives("C:\\Windows\\System32\\x.dll", folders),
              (std::vector<std::string>{"C:\\Windows\\Sysnative\\x.dll",
                                        "C:\\Windows\\System32\\x.dll"}));
    EXPECT_EQ(RedirectionAlternatives("C:\\Windows\\System32Extra\\x.dll", folders),
              std::vector<std::string>{"C:\\Windows\\System32Extra\\x.dll"});
    folders.windows64 = false;
    EXPECT_EQ(RedirectionAlternatives("C:\\Windows\\System32\\x.dll", folders),
              std::vector<std::string>{"C:\\Windows\\System32\\x.dll"});
}

TEST_F(CommandRules, UnquotedLinesWithEndlessWordsAreLeftUnjudged) {
    std::string line = "C:\\Gone\\x.exe";
    for (int i = 0; i < 100; ++i) {
        line += " arg";
    }
    EXPECT_EQ(JudgeCommand(line, oracle).state, PathState::Unknown);
    EXPECT_TRUE(oracle.probed.empty());
}

TEST_F(CommandRules, UnquotedProgramsAreTriedWithTheExtensionsWindowsAdds) {
    const Target target = CommandTarget("C:\\Apps\\My Tool -x");
    EXPECT_TRUE(target.judgeable);
    for (const char* candidate :
         {"C:\\Apps\\My", "C:\\Apps\\My.exe", "C:\\Apps\\My.cmd", "C:\\Apps\\My Tool",
          "C:\\Apps\\My Tool.exe", "C:\\Apps\\My Tool -x", "C:\\Apps\\My Tool -x.exe"}) {
        EXPECT_NE(std::find(target.candidates.begin(), target.candidates.end(), candidate),
                  target.candidates.end())
            << candidate;
    }
}

}  // namespace
}  // namespace hm::regclean
