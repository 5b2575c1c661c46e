// Community cleaning rules (winapp2.ini) against throwaway folders and keys of the sandbox: what
// each key form, variable, wildcard and flag selects, what exclusions keep, what is refused, and
// the rules as rows of a pass.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "config/inifun.h"
#include "engine/winapp2.h"
#include "platform/text.h"
#include "support/pass_fixture.h"
#include "support/sandbox.h"

namespace hm {
namespace {

using test::TempFolder;

// The files every selection case starts from (relative to the test's root).
constexpr const char* kSeed[] = {
    "Roaming\\App\\a.log",
    "Roaming\\App\\b.tmp",
    "Roaming\\App\\keep.log",
    "Roaming\\App\\c.txt",
    "Roaming\\App\\Sub\\d.log",
    "Roaming\\App\\Sub\\Deep\\e.log",
    "Roaming\\App\\Saved\\f.log",
    "Local\\App\\Cache\\1",
    "Local\\App\\Cache\\x\\2",
    "Local\\App\\Keep\\3",
    "Local\\Chrome\\User Data\\Default\\Cache\\c1",
    "Local\\Chrome\\User Data\\Profile 1\\Cache\\c2",
    "Local\\Chrome Beta\\User Data\\Default\\Cache\\c3",
    "Local\\Chrome Beta\\User Data\\Default\\Other\\c4",
    "PF\\Viewer\\logs\\v.log",
    "PF86\\Viewer\\logs\\w.log",
    "LocalLow\\App\\l.tmp",
    "LocalLow\\App\\ll.tmp",
    "Temp\\t.tmp",
    "Temp\\sub\\u.tmp",
    "ProgramData\\App\\p.log",
    "Profile\\Documents\\doc.txt",
    "Windows\\win.log",
    "Windows\\System32\\sys.dll",
};

std::string RuleFile(const std::string& keys) {
    return "[Test Rule *]\r\n" + keys;
}

class Winapp2Test : public ::testing::Test {
protected:
    Winapp2Test() {
        machine.SetVariable("AppData", {root / "Roaming"});
        machine.SetVariable("LocalAppData", {root / "Local"});
        machine.SetVariable("LocalLowAppData", {root / "LocalLow"});
        machine.SetVariable("UserProfile", {root / "Profile"});
        machine.SetVariable("Documents", {root / "Profile\\Documents"});
        machine.SetVariable("ProgramFiles", {root / "PF", root / "PF86"});
        machine.SetVariable("CommonAppData", {root / "ProgramData"});
        machine.SetVariable("WinDir", {root / "Windows"});
        machine.SetVariable("Temp", {root / "Temp"});
        // Drive q: maps to a folder of the tests (scripts/make-link-fixture).
        machine.SetVariable("SystemDrive", {"Q:"});
        for (const char* file : kSeed) {
            test::WriteFileOfSize(root / file, 10);
        }
    }

    // Plans and cleans every rule of the text; returns the refusal of the last one.
    std::string Clean(const std::string& text, EraseMode mode = EraseMode::Erase) {
        const Winapp2Rules rules = ParseWinapp2(text);
        EXPECT_FALSE(rules.rules.empty());
        std::string refusal;
        Eraser eraser(mode, &recorder);
        counts = {};
        for (const Winapp2Rule& rule : rules.rules) {
            const Winapp2Plan plan = PlanWinapp2Rule(rule, machine);
            EXPECT_TRUE(plan.detected) << rule.name;
            counts += CleanWinapp2Rule(rule, plan, eraser);
            refusal = plan.refusal;
        }
        return refusal;
    }

    std::vector<std::string> Removed(const std::vector<std::string>& before) const {
        const std::vector<std::string> after = test::ListTree(root.path());
        std::vector<std::string> removed;
        std::set_difference(before.begin(), before.end(), after.begin(), after.end(),
                            std::back_inserter(removed));
        return removed;
    }

    struct Recorder : EraseObserver {
        void OnTrace(const Trace& trace) override { traces.push_back(trace); }
        std::vector<Trace> traces;
    };

    TempFolder root;
    Winapp2Machine machine;
    Recorder recorder;
    Counts counts;
};

TEST_F(Winapp2Test, EachKeyFormVariableWildcardAndFlagSelectsItsFiles) {
    ASSERT_EQ(SetEnvironmentVariableW(L"HM_WINAPP2_TEST", Widen(root / "Roaming").c_str()), TRUE);
    const struct {
        const char* keys;
        std::vector<std::string> removed;
    } cases[] = {
        {"FileKey1=%AppData%\\App|*.log", {"Roaming\\App\\a.log", "Roaming\\App\\keep.log"}},
        {"FileKey1=%AppData%\\App\\|*.LOG; *.tmp|RECURSE",
         {"Roaming\\App\\Saved\\f.log", "Roaming\\App\\Sub\\Deep\\e.log",
          "Roaming\\App\\Sub\\d.log", "Roaming\\App\\a.log", "Roaming\\App\\b.tmp",
          "Roaming\\App\\keep.log"}},
        // Exclusions win: one file by pattern, one folder with all below it.
        {"FileKey1=%AppData%\\App|*.log;*.tmp|RECURSE\r\nExcludeKey1=FILE|%AppData%\\App\\|keep."
         "log\r\n"
         "ExcludeKey2=PATH|%AppData%\\App\\Saved\\\r\nExcludeKey3=FILE|%AppData%"
         "\\App\\Sub\\Deep\\e.log",
         {"Roaming\\App\\Sub\\d.log", "Roaming\\App\\a.log", "Roaming\\App\\b.tmp"}},
        {"FileKey1=%LocalAppData%\\App\\Cache|*.*|REMOVESELF",
         {"Local\\App\\Cache\\", "Local\\App\\Cache\\1", "Local\\App\\Cache\\x\\",
          "Local\\App\\Cache\\x\\2"}},
        // A folder an exclusion keeps stays, and so do the folders holding it.
        {"FileKey1=%LocalAppData%\\App|*|REMOVESELF\r\nExcludeKey1=PATH|%LocalAppData%\\App\\Keep|*"
         ".*",
         {"Local\\App\\Cache\\", "Local\\App\\Cache\\1", "Local\\App\\Cache\\x\\",
          "Local\\App\\Cache\\x\\2"}},
        {"FileKey1=%LocalAppData%\\Chrome*\\User Data\\*\\Cache|*",
         {"Local\\Chrome Beta\\User Data\\Default\\Cache\\c3",
          "Local\\Chrome\\User Data\\Default\\Cache\\c1",
          "Local\\Chrome\\User Data\\Profile 1\\Cache\\c2"}},
        {"FileKey1=%ProgramFiles%\\Viewer\\logs|*.log",
         {"PF86\\Viewer\\logs\\w.log", "PF\\Viewer\\logs\\v.log"}},
        {"FileKey1=%LocalLowAppData%\\App|?.tmp\r\nFileKey2=%Temp%|*.tmp|RECURSE\r\n"
         "FileKey3=%CommonAppData%\\App|p.*",
         {"LocalLow\\App\\l.tmp", "ProgramData\\App\\p.log", "Temp\\sub\\u.tmp", "Temp\\t.tmp"}},
        // One named kind of file in the Windows folder itself, not below it, is allowed.
        {"FileKey1=%WinDir%|*.log", {"Windows\\win.log"}},
        // Any other variable Windows defines comes from the environment.
        {"FileKey1=%HM_WINAPP2_TEST%\\App|c.txt", {"Roaming\\App\\c.txt"}},
        {"FileKey1=%AppData%\\Missing|*.*|REMOVESELF", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        for (const char* file : kSeed) {
            test::WriteFileOfSize(root / file, 10);
        }
        const std::vector<std::string> before = test::ListTree(root.path());
        EXPECT_EQ(Clean(RuleFile(c.keys)), "");
        EXPECT_EQ(Removed(before), c.removed);
        const auto files = std::count_if(c.removed.begin(), c.removed.end(),
                                         [](const std::string& p) { return p.back() != '\\'; });
        EXPECT_EQ(counts.bytes, 10.0 * static_cast<double>(files));
    }
    SetEnvironmentVariableW(L"HM_WINAPP2_TEST", nullptr);
}

TEST_F(Winapp2Test, OnlyTheFilesARuleSelectsLoseTheirAttributes) {
    test::SetAttributes(root / "Roaming\\App\\a.log", FILE_ATTRIBUTE_HIDDEN);
    test::SetAttributes(root / "Roaming\\App\\c.txt",
                        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
    test::SetAttributes(root / "Roaming\\App\\b.tmp", FILE_ATTRIBUTE_READONLY);
    Clean(RuleFile("FileKey1=%AppData%\\App|*.log;*.tmp"));
    EXPECT_FALSE(test::FileExists(root / "Roaming\\App\\a.log"));
    constexpr std::uint32_t kHiddenReadOnly = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY;
    EXPECT_EQ(test::AttributesOf(root / "Roaming\\App\\c.txt") & kHiddenReadOnly, kHiddenReadOnly);
    // A read-only file is selected and counted but stays, as with every other item.
    EXPECT_TRUE(test::FileExists(root / "Roaming\\App\\b.tmp"));
    EXPECT_EQ(counts.bytes, 30);
}

TEST_F(Winapp2Test, RefusedRulesChangeNothing) {
    const struct {
        const char* keys;
        const char* refusal;
    } cases[] = {
        {"FileKey1=%WinDir%|*.*|RECURSE", "reaches the protected folder"},
        {"FileKey1=%WinDir%\\System32|*.*", "reaches the protected folder"},
        {"FileKey1=%ProgramFiles%|*.log|RECURSE", "reaches the protected folder"},
        {"FileKey1=%UserProfile%|*.*", "reaches the protected folder"},
        {"FileKey1=%Documents%|*.txt|REMOVESELF", "reaches the protected folder"},
        {"FileKey1=%Documents%\\..\\..|*.txt|RECURSE", "holds a \".\" or \"..\" part"},
        {"FileKey1=%SystemDrive%|*.log|RECURSE", "reaches the drive root"},
        {"FileKey1=Q:\\|*.*", "reaches the drive root"},
        {"FileKey1=%ProgramFiles%\\*|*.*|RECURSE", "picks folders by wildcard right inside"},
        {"FileKey1=%LocalAppData%\\App|*.*\r\nFileKey2=%Nowhere%\\App|*.*",
         "holds the unexpanded variable %Nowhere%"},
        {"FileKey1=\\\\server\\share\\App|*.*", "is a network path"},
        {"FileKey1=App\\Cache|*.*", "is not a full path"},
        {"FileKey1=%AppData%\\App|*.log|WIPE", "has the unknown flag"},
        {"FileKey1=%AppData%\\App|*.log\r\nExcludeKey1=FILE|%Elsewhere%\\App|keep.log",
         "holds the unexpanded variable %Elsewhere%"},
        {"FileKey1=%AppData%\\App|*.log\r\nRegKey1=HKCU\\Software", "right below the root"},
        {"FileKey1=C:\\hm-winapp2-fixture\\linked\\inner|*.*", "would pass the link"},
    };
    const std::vector<std::string> drive = test::ListTree("Q:\\");
    ASSERT_FALSE(drive.empty()) << "the drive fixture was not made";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        const std::vector<std::string> before = test::ListTree(root.path());
        EXPECT_NE(Clean(RuleFile(c.keys)).find(c.refusal), std::string::npos);
        EXPECT_EQ(test::ListTree(root.path()), before);
        EXPECT_EQ(counts.bytes, 0);
    }
    EXPECT_EQ(test::ListTree("Q:\\"), drive);
    EXPECT_TRUE(recorder.traces.empty());
}

// A link inside a folder a rule empties and removes is neither entered nor removed, so the
// folder holding it stays too.
TEST_F(Winapp2Test, LinksAreNeverFollowed) {
    const std::string fixture = "C:\\hm-winapp2-fixture";
    const std::vector<std::string> precious = test::ListTree(fixture + "\\precious");
    ASSERT_EQ(precious.size(), 3u) << "the link fixture was not made";
    Clean(RuleFile("FileKey1=" + fixture + "\\cache|*.*|REMOVESELF\r\nFileKey2=" + fixture +
                   "\\link*|*.*|RECURSE"));
    EXPECT_EQ(test::ListTree(fixture + "\\precious"), precious);
    EXPECT_FALSE(test::FileExists(fixture + "\\cache\\a.log"));
    EXPECT_FALSE(test::FolderExists(fixture + "\\cache\\sub"));
    EXPECT_TRUE(test::FolderExists(fixture + "\\cache\\link"));
}

TEST_F(Winapp2Test, RegistryKeysAndValuesGoWholeOrAroundWhatIsExcluded) {
    test::TempRegKey key;
    const std::string k = key.subKey();
    test::SetRegText(k + "\\Recent", "a", "1");
    test::SetRegText(k + "\\Recent\\Sub", "b", "1");
    test::SetRegText(k + "\\Mixed", "drop", "1");
    test::SetRegText(k + "\\Mixed", "Keep", "1");
    test::SetRegText(k + "\\Mixed\\Pinned", "c", "1");
    test::SetRegText(k + "\\Mixed\\Loose", "d", "1");
    test::SetRegText(k, "Last", "1");
    test::SetRegText(k, "Other", "1");
    const std::string rules =
        RuleFile("RegKey1=HKCU\\" + k + "\\Recent\r\nRegKey2=HKEY_CURRENT_USER\\" + k +
                 "|Last\r\n" + "RegKey3=HKCU\\" + k + "\\Mixed\r\nRegKey4=HKCU\\" + k +
                 "\\Missing\r\n" + "RegKey5=HKCU\\" + k + "|Gone\r\nExcludeKey1=REG|HKCU\\" + k +
                 "\\Mixed|keep\r\n" + "ExcludeKey2=REG|HKCU\\" + k + "\\Mixed\\Pinned\r\n");

    EXPECT_EQ(Clean(rules, EraseMode::Preview), "");
    EXPECT_TRUE(test::RegKeyExists(k + "\\Recent"));
    const double previewed = counts.registryKeys;
    std::vector<std::string> listed;
    for (const Trace& trace : recorder.traces) {
        listed.push_back(trace.path.substr(trace.path.find(k) + k.size()) + "|" + trace.name);
    }
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed,
              (std::vector<std::string>{"\\Mixed\\Loose|", "\\Mixed|drop", "\\Recent|", "|Last"}));

    EXPECT_EQ(Clean(rules), "");
    EXPECT_EQ(counts.registryKeys, 4);  // Recent, Last, Mixed's "drop", Mixed\Loose
    EXPECT_EQ(counts.registryKeys, previewed);
    EXPECT_FALSE(test::RegKeyExists(k + "\\Recent"));
    EXPECT_FALSE(test::RegValueExists(k, "Last"));
    EXPECT_TRUE(test::RegValueExists(k, "Other"));
    EXPECT_FALSE(test::RegValueExists(k + "\\Mixed", "drop"));
    EXPECT_TRUE(test::RegValueExists(k + "\\Mixed", "Keep"));
    EXPECT_TRUE(test::RegValueExists(k + "\\Mixed\\Pinned", "c"));
    EXPECT_FALSE(test::RegKeyExists(k + "\\Mixed\\Loose"));
}

TEST_F(Winapp2Test, APreviewListsEveryFileAndFolderAndChangesNothing) {
    const std::string rules = RuleFile("FileKey1=%LocalAppData%\\App\\Cache|*|REMOVESELF");
    const std::vector<std::string> before = test::ListTree(root.path());
    Clean(rules, EraseMode::Preview);
    EXPECT_EQ(test::ListTree(root.path()), before);
    std::vector<std::string> listed;
    for (const Trace& trace : recorder.traces) {
        EXPECT_TRUE(trace.removed());
        listed.push_back(trace.path.substr(root.path().size()));
    }
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed,
              (std::vector<std::string>{"\\Local\\App\\Cache", "\\Local\\App\\Cache\\1",
                                        "\\Local\\App\\Cache\\x", "\\Local\\App\\Cache\\x\\2"}));
    const double previewed = counts.bytes;
    Clean(rules);
    EXPECT_EQ(counts.bytes, previewed);
    EXPECT_FALSE(test::FolderExists(root / "Local\\App\\Cache"));
}

TEST_F(Winapp2Test, DetectedRulesAreListedByGroupWithWarningsAndRefusals) {
    test::TempRegKey key;
    const std::string rules =
        "[No Detection *]\r\nLangSecRef=3024\r\nFileKey1=%Temp%|*.tmp\r\n"
        "[By Key *]\r\nLangSecRef=3021\r\nDetect=HKCU\\" +
        key.subKey() +
        "\r\nWarning=Also signs you out.\r\nFileKey1=%Temp%|*.tmp\r\n"
        "[Missing Key *]\r\nDetect=HKCU\\" +
        key.subKey() +
        "\\Nope\r\nFileKey1=%Temp%|*.tmp\r\n"
        "[By Second Key *]\r\nLangSecRef=3021\r\nDetect1=HKCU\\" +
        key.subKey() + "\\Nope\r\nDetect2=HKCU\\" + key.subKey() +
        "\r\nFileKey1=%Temp%|*.tmp\r\n"
        "[By File *]\r\nSection=Browsers\r\nDetectFile=%LocalAppData%\\Chrome*\\User Data\r\n"
        "FileKey1=%Windir%|*.*\r\n"
        "[Missing File *]\r\nDetectFile=%LocalAppData%\\Nope\\*.exe\r\nFileKey1=%Temp%|*.tmp\r\n"
        "[Program File "
        "*]\r\nDetectFile=%ProgramFiles%\\Viewer\\logs\\w.log\r\nFileKey1=%Temp%|*.tmp\r\n"
        // The listing keeps what it read of folders and keys: a link is still seen, and names
        // still match in any letter case.
        "[Through Link *]\r\nSection=Browsers\r\nDetectFile=C:\\HM-WINAPP2-FIXTURE\\cache\r\n"
        "FileKey1=C:\\hm-winapp2-fixture\\linked\\inner|*.log\r\n"
        "[Key In Other Case *]\r\nLangSecRef=3021\r\nDetect=HKEY_CURRENT_USER\\" +
        Winapp2Lower(key.subKey()) + "\r\nFileKey1=%Temp%|*.tmp\r\n";
    std::vector<std::string> listed;
    for (const Winapp2Group& group : ListWinapp2(ParseWinapp2(rules), machine)) {
        for (const Winapp2Entry& entry : group.entries) {
            listed.push_back(group.name + "|" + entry.name + "|" + entry.warning + "|" +
                             (entry.refusal.empty() ? "" : "refused"));
        }
    }
    EXPECT_EQ(listed, (std::vector<std::string>{
                          "Applications|By Key|Also signs you out.|",
                          "Applications|By Second Key||",
                          "Applications|Key In Other Case||",
                          "Browsers|By File||refused",
                          "Browsers|Through Link||refused",
                          "Other|Program File||",
                          "Utilities|No Detection||",
                      }));
}

TEST_F(Winapp2Test, AnImportedFileReplacesTheRulesBesideTheProgramWhole) {
    TempFolder program;
    const std::string chosen = root / "chosen.ini";
    test::WriteFileText(chosen, "[New *]\r\nFileKey1=%Temp%|*.tmp\r\n");
    test::WriteFileText(Winapp2FilePath(program.path()), "[Old *]\r\nFileKey1=%Temp%|*.tmp\r\n");
    std::string problem;
    EXPECT_EQ(ImportWinapp2(chosen, program.path(), problem), 0u);
    EXPECT_EQ(test::ReadFileText(Winapp2FilePath(program.path())), test::ReadFileText(chosen));

    test::WriteFileText(chosen, "not a rule file\r\n");
    EXPECT_NE(ImportWinapp2(chosen, program.path(), problem), 0u);
    EXPECT_NE(problem.find("holds no cleaning rules"), std::string::npos);
    EXPECT_NE(ImportWinapp2(root / "missing.ini", program.path(), problem), 0u);
    EXPECT_EQ(LoadWinapp2(Winapp2FilePath(program.path())).rules.rules.at(0).name, "New");
    EXPECT_EQ(test::ListTree(program.path()), std::vector<std::string>{"winapp2.ini"});
}

class Winapp2PassTest : public test::PassTest {
protected:
    Winapp2PassTest() { SetEnvironmentVariableW(L"HM_WINAPP2_PASS", Widen(data.path()).c_str()); }
    ~Winapp2PassTest() override { SetEnvironmentVariableW(L"HM_WINAPP2_PASS", nullptr); }
    TempFolder data;
};

// Ticked rules that apply here run after the plug-ins, one row each named without " *"; a
// refused one shows why; unticked ones and ones that no longer apply show nothing.
TEST_F(Winapp2PassTest, TickedRulesRunAfterThePlugInsOneRowEach) {
    test::WriteFileOfSize(data / "Cache\\a.tmp", 100);
    test::WriteFileOfSize(data / "Cache\\sub\\b.tmp", 20);
    test::WriteFileOfSize(data / "Logs\\c.log", 7);
    test::WriteFileText(program / "plus-in\\P.hmx", "[name]\r\nappname=P\r\n[swich]\r\non=1\r\n");
    test::WriteFileText(
        Winapp2FilePath(program.path()),
        "[Cache Files *]\r\nFileKey1=%HM_WINAPP2_PASS%\\Cache|*.tmp|RECURSE\r\n"
        "[Logs *]\r\nFileKey1=%HM_WINAPP2_PASS%\\Logs|*.log\r\n"
        "[Unticked *]\r\nFileKey1=%HM_WINAPP2_PASS%\\Logs|*.*\r\n"
        "[Not Here *]\r\nDetectFile=%HM_WINAPP2_PASS%\\Nope\r\nFileKey1=%HM_WINAPP2_PASS%|*.*\r\n"
        "[Too Wide *]\r\nFileKey1=%HM_WINAPP2_PASS%\\Logs|*.log\r\nFileKey2=%Nowhere%|*.*\r\n");
    for (const char* name : {"Cache Files", "Logs", "Not Here", "Too Wide"}) {
        TickWinapp2(Settings(), name, true);
    }
    TickWinapp2(Settings(), "Unticked", false);
    Run();
    std::vector<std::string> rows;
    for (const test::Row& row : ui.rows) {
        rows.push_back(row.label + "|" + row.status);
    }
    EXPECT_EQ(rows, (std::vector<std::string>{
                        "P|Done", "Cache Files|Done", "Logs|Done",
                        "Too Wide|Refused: FileKey2: \"%Nowhere%\" holds the unexpanded variable "
                        "%Nowhere%",
                        "Task complete Successfully!|"}));
    EXPECT_EQ(result.bytes, 50000 + 120 + 7);
    EXPECT_EQ(result.registryKeys, 1);
    EXPECT_TRUE(test::ListTree(data.path()) ==
                (std::vector<std::string>{"Cache\\", "Cache\\sub\\", "Logs\\"}));
    EXPECT_EQ(ReadIniValue(Settings(), "Winapp2", "Logs"), "1");
    EXPECT_EQ(ReadIniValue(Settings(), "Winapp2", "Unticked"), "0");
}

}  // namespace
}  // namespace hm
