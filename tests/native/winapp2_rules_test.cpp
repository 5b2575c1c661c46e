#include "config/winapp2_rules.h"

#include <gtest/gtest.h>

#include <map>

namespace hm {
namespace {

// One rule of every key form, and the lines a reader must survive.
constexpr const char* kRules =
    "; a comment\r\n"
    "[Viewer *]\r\n"
    "LangSecRef=3023\r\n"
    "Detect=HKCU\\Software\\Viewer\r\n"
    "Detect2=HKEY_LOCAL_MACHINE\\SOFTWARE\\Viewer\\\r\n"
    "DetectFile=%ProgramFiles%\\Viewer\\viewer.exe\r\n"
    "DetectFile1=%AppData%\\Viewer*\r\n"
    "Default=True\r\n"
    "Warning=Removes the recent list.\r\n"
    "FileKey1=%AppData%\\Viewer|*.log; *.tmp ;|RECURSE\r\n"
    "FileKey2=%LocalAppData%\\Viewer\\Cache|*.*|removeself\r\n"
    "RegKey1=HKCU\\Software\\Viewer\\Recent\r\n"
    "RegKey2=HKCU\\Software\\Viewer|Last|Name\r\n"
    "ExcludeKey1=FILE|%AppData%\\Viewer\\|keep.log;*.cfg\r\n"
    "ExcludeKey2=FILE|%AppData%\\Viewer\\pinned.tmp\r\n"
    "ExcludeKey3=PATH|%AppData%\\Viewer\\Saved\\|*.*\r\n"
    "ExcludeKey4=path|%AppData%\\Viewer\\Whole\r\n"
    "ExcludeKey5=REG|HKCU\\Software\\Viewer\\Recent\\Pinned\r\n"
    "ExcludeKey6=REG|HKCU\\Software\\Viewer|Keep\r\n"
    "SpecialDetect=DET_CHROME\r\n"
    "DetectOS=6.1|\r\n"
    "no equals sign\r\n"
    "LangSecRef=abc\r\n"
    "[Broken header\r\n"
    "FileKey1=C:\\Lost|*.*\r\n"
    "[viewer *]\r\n"
    "FileKey1=C:\\Also lost|*.*\r\n"
    "[ Plain ]\n"
    "Section=My Things\n"
    "FileKey1=%Temp%|*\n"
    "FileKey2=%Temp%\n"
    "[Odd flags *]\n"
    "FileKey1=%Temp%|*.tmp|RECURSE|WIPE\n";

TEST(Winapp2Rules, ReadsEveryKeyFormAndCountsWhatItSkips) {
    const Winapp2Rules read = ParseWinapp2(std::string("\xEF\xBB\xBF") + kRules);
    ASSERT_EQ(read.rules.size(), 3u);
    EXPECT_EQ(read.unknownKeys, 2u);     // SpecialDetect, DetectOS
    EXPECT_EQ(read.malformedLines, 5u);  // no "=", a bad number, the broken header, two bad keys
    EXPECT_EQ(read.repeatedSections, 1u);

    const Winapp2Rule& viewer = read.rules[0];
    EXPECT_EQ(viewer.name, "Viewer");
    EXPECT_EQ(viewer.langSecRef, 3023);
    EXPECT_EQ(Winapp2GroupName(viewer), "Multimedia");
    ASSERT_EQ(viewer.detectKeys.size(), 2u);
    EXPECT_EQ(viewer.detectKeys[1].root, kLocalMachine);
    EXPECT_EQ(viewer.detectKeys[1].subKey, "SOFTWARE\\Viewer");
    EXPECT_EQ(viewer.detectFiles, (std::vector<std::string>{"%ProgramFiles%\\Viewer\\viewer.exe",
                                                            "%AppData%\\Viewer*"}));
    EXPECT_TRUE(viewer.defaultOn);
    EXPECT_EQ(viewer.warning, "Removes the recent list.");
    EXPECT_EQ(viewer.problem, "");

    ASSERT_EQ(viewer.fileKeys.size(), 2u);
    EXPECT_EQ(viewer.fileKeys[0].key, "FileKey1");
    EXPECT_EQ(viewer.fileKeys[0].folder, "%AppData%\\Viewer");
    EXPECT_EQ(viewer.fileKeys[0].patterns, (std::vector<std::string>{"*.log", "*.tmp"}));
    EXPECT_TRUE(viewer.fileKeys[0].recurse);
    EXPECT_FALSE(viewer.fileKeys[0].removeSelf);
    EXPECT_TRUE(viewer.fileKeys[1].removeSelf && viewer.fileKeys[1].recurse);

    ASSERT_EQ(viewer.regKeys.size(), 2u);
    EXPECT_FALSE(viewer.regKeys[0].value);
    EXPECT_EQ(viewer.regKeys[0].path.subKey, "Software\\Viewer\\Recent");
    EXPECT_EQ(viewer.regKeys[1].value, "Last|Name");  // value names may hold "|"

    ASSERT_EQ(viewer.excludes.size(), 6u);
    EXPECT_EQ(viewer.excludes[0].patterns, (std::vector<std::string>{"keep.log", "*.cfg"}));
    EXPECT_EQ(viewer.excludes[1].folder, "%AppData%\\Viewer");
    EXPECT_EQ(viewer.excludes[1].patterns, (std::vector<std::string>{"pinned.tmp"}));
    EXPECT_EQ(viewer.excludes[2].kind, Winapp2ExcludeKind::Path);
    EXPECT_EQ(viewer.excludes[3].kind, Winapp2ExcludeKind::Path);
    EXPECT_TRUE(viewer.excludes[3].patterns.empty());
    EXPECT_EQ(viewer.excludes[4].kind, Winapp2ExcludeKind::Reg);
    EXPECT_EQ(viewer.excludes[5].value, "Keep");

    // A name without " *" stays as it is; the group comes from Section. A file key without its
    // pattern, or with a flag of unknown meaning, keeps the rule from running.
    EXPECT_EQ(read.rules[1].name, "Plain");
    EXPECT_EQ(Winapp2GroupName(read.rules[1]), "My Things");
    EXPECT_EQ(read.rules[1].problem, "FileKey2 has no pattern");
    EXPECT_EQ(read.rules[2].problem, "FileKey1 has the unknown flag \"WIPE\"");
}

TEST(Winapp2Rules, ActionLinesThatCannotBeReadAreTheRulesProblem) {
    const struct {
        const char* line;
        const char* problem;
    } cases[] = {
        {"FileKey1=|*.*", "FileKey1 names no folder"},
        {"FileKey1=C:\\x|;;", "FileKey1 has no pattern"},
        {"FileKey1=C:\\x|sub\\*.*", "FileKey1 has a pattern that names a folder (sub\\*.*)"},
        {"RegKey3=HKXX\\Software\\A", "RegKey3 names no registry key this program knows"},
        {"RegKey3=HKCU", "RegKey3 names no registry key this program knows"},
        {"RegKey3=HKCU\\A\\\\B", "RegKey3 names no registry key this program knows"},
        {"ExcludeKey1=DIR|C:\\x", "ExcludeKey1 is neither FILE, PATH nor REG"},
        {"ExcludeKey1=FILE|C:\\", "ExcludeKey1 names no file"},
        {"ExcludeKey1=PATH|", "ExcludeKey1 names no folder"},
        {"ExcludeKey1=REG|C:\\x", "ExcludeKey1 names no registry key this program knows"},
    };
    for (const auto& c : cases) {
        const Winapp2Rules read =
            ParseWinapp2(std::string("[R *]\nFileKey9=C:\\ok|*.a\n") + c.line);
        ASSERT_EQ(read.rules.size(), 1u);
        EXPECT_EQ(read.rules[0].problem, c.problem) << c.line;
        EXPECT_EQ(read.malformedLines, 1u) << c.line;
    }
}

TEST(Winapp2Rules, TextInAnyEncodingBecomesUtf8) {
    static constexpr char kUtf16le[] =
        "\xFF\xFE[\0A\0 \0*\0]\0\n\0F\0i\0l\0e\0K\0e\0y\0\x31\0=\0C\0:\0\\\0\xE9\0|\0*\0";
    const Winapp2Rules read = ParseWinapp2(std::string(kUtf16le, sizeof kUtf16le - 1));
    ASSERT_EQ(read.rules.size(), 1u);
    EXPECT_EQ(read.rules[0].fileKeys.at(0).folder, "C:\\\xC3\xA9");
    EXPECT_EQ(Winapp2Text(std::string("\xFE\xFF\0A\xD8\x3D\xDE\x00", 8)), "A\xF0\x9F\x98\x80");
    EXPECT_EQ(Winapp2Text("a\xFF"
                          "b\xC3"),
              "a\xEF\xBF\xBD"
              "b\xEF\xBF\xBD");
    EXPECT_EQ(Winapp2Text("\xED\xA0\x80"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");  // a surrogate
    // A lone carriage return ends a line: it never ends up in a name.
    const Winapp2Rules lone = ParseWinapp2("[A *]\rLangSecRef=3021\r[B *]\r\n");
    ASSERT_EQ(lone.rules.size(), 2u);
    EXPECT_EQ(lone.rules[0].langSecRef, 3021);
    EXPECT_EQ(lone.rules[1].name, "B");
}

TEST(Winapp2Rules, VariablesExpandToEveryFolderTheyStandFor) {
    const std::map<std::string, std::vector<std::string>> folders = {
        {"appdata", {"C:\\Users\\u\\AppData\\Roaming"}},
        {"programfiles", {"C:\\Program Files", "C:\\Program Files (x86)"}},
        {"programfiles(x86)", {"C:\\Program Files (x86)"}},
        {"systemdrive", {"C:"}},
        {"windir", {"C:\\Windows\\"}},
    };
    const Winapp2Variables variables = [&](const std::string& name) {
        const auto found = folders.find(name);
        return found == folders.end() ? std::vector<std::string>{} : found->second;
    };
    const struct {
        const char* path;
        std::vector<std::string> paths;
        const char* unexpanded;
    } cases[] = {
        {"%AppData%\\App\\", {"C:\\Users\\u\\AppData\\Roaming\\App"}, ""},
        {"%APPDATA%//App", {"C:\\Users\\u\\AppData\\Roaming\\App"}, ""},
        {"%ProgramFiles%\\App", {"C:\\Program Files\\App", "C:\\Program Files (x86)\\App"}, ""},
        {"%ProgramFiles(x86)%\\App", {"C:\\Program Files (x86)\\App"}, ""},
        {"%WinDir%\\Temp", {"C:\\Windows\\Temp"}, ""},
        {"%SystemDrive%", {"C:\\"}, ""},
        {"%SystemDrive%\\", {"C:\\"}, ""},
        {"C:\\100%\\a", {"C:\\100%\\a"}, ""},
        {"C:\\a%\\b%c", {"C:\\a%\\b%c"}, ""},
        {"%Nowhere%\\App", {"%Nowhere%\\App"}, "%Nowhere%"},
        {"\\\\\\server\\\\share\\", {"\\\\server\\share"}, ""},
    };
    for (const auto& c : cases) {
        const Winapp2Expansion expansion = ExpandWinapp2Path(c.path, variables);
        EXPECT_EQ(expansion.paths, c.paths) << c.path;
        EXPECT_EQ(expansion.unexpanded, c.unexpanded) << c.path;
        EXPECT_FALSE(expansion.tooMany);
    }
    const Winapp2Expansion many = ExpandWinapp2Path(
        "%ProgramFiles%\\%ProgramFiles%\\%ProgramFiles%\\%ProgramFiles%\\%ProgramFiles%",
        variables);
    EXPECT_TRUE(many.tooMany);
    EXPECT_TRUE(many.paths.empty());
}

TEST(Winapp2Rules, PathsThatCanNeverBeActedOnAreRefusedWithTheReason) {
    const struct {
        const char* path;
        const char* refusal;  // "" when the path may be used
    } cases[] = {
        {"C:\\Users\\u\\AppData\\Roaming\\App", ""},
        {"C:\\", ""},
        {"C:\\App\\Cache*\\*", ""},
        {"%Foo%\\App", "\"%Foo%\\App\" holds the unexpanded variable %Foo%"},
        {"C:\\x\\%Bar%", "\"C:\\x\\%Bar%\" holds the unexpanded variable %Bar%"},
        {"\\\\server\\share\\x", "\"\\\\server\\share\\x\" is a network path"},
        {"App\\Cache", "\"App\\Cache\" is not a full path"},
        {"\\App", "\"\\App\" is not a full path"},
        {"C:App", "\"C:App\" is not a full path"},
        {"C:\\App\\..\\Windows", "\"C:\\App\\..\\Windows\" holds a \".\" or \"..\" part"},
        {"C:\\Windows.", "\"C:\\Windows.\" has a part ending in a dot or blank"},
        {"C:\\Windows \\x", "\"C:\\Windows \\x\" has a part ending in a dot or blank"},
        {"C:\\a:stream", "\"C:\\a:stream\" holds a character no path may hold"},
        {"C:\\a\tb", "\"C:\\a\tb\" holds a character no path may hold"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Winapp2PathRefusal(c.path), c.refusal) << c.path;
    }
}

TEST(Winapp2Rules, WildcardsMatchNamesAsTheSystemDoes) {
    const struct {
        const char* pattern;
        const char* name;
        bool matches;
    } cases[] = {
        {"*", "anything.at.all", true},
        {"*", "", true},
        {"*.*", "no-dot", true},
        {"*.*", "a.b", true},
        {"*.log", "RUN.LOG", true},
        {"*.log", "run.log.old", false},
        {"*.log", "run.logs", false},
        {"data.*", "data", true},
        {"data.*", "database", false},
        {"?.txt", "a.txt", true},
        {"?.txt", "ab.txt", false},
        {"?.txt", "\xC3\xA9.txt", true},
        {"f*b*c", "fxxbyybzc", true},
        {"f*b*c", "fxxbyyb", false},
        {"*a*a*a*a*a*b", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", false},
        {"Cache", "cache", true},
        {"cache", "Cache2", false},
        {"\xC3\x89t\xC3\xA9", "\xC3\x89t\xC3\xA9", true},
        {"*", "*.*", true},  // a "*" in the name is no reason to stop being a wildcard
        {"a*", "a*b", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Winapp2Matches(c.pattern, c.name), c.matches) << c.pattern << " " << c.name;
    }
    for (const char* pattern : {"*", "*.*", "**", "?*", "*.?*", "*."}) {
        EXPECT_TRUE(SelectsEverything(pattern)) << pattern;
    }
    for (const char* pattern : {"*.log", "a*", "???", "", "."}) {
        EXPECT_FALSE(SelectsEverything(pattern)) << pattern;
    }
}

Winapp2FileKey Key(std::vector<std::string> patterns, bool recurse = false,
                   bool removeSelf = false) {
    Winapp2FileKey key;
    key.key = "FileKey1";
    key.patterns = std::move(patterns);
    key.recurse = recurse || removeSelf;
    key.removeSelf = removeSelf;
    return key;
}

TEST(Winapp2Rules, WideKeysStayOutOfDriveRootsAndProtectedFolders) {
    const std::vector<std::string> kept = {"c:\\windows", "c:\\program files", "c:\\users\\u",
                                           "c:\\users\\u\\documents"};
    const struct {
        Winapp2FileKey key;
        const char* folder;
        const char* refusal;
    } cases[] = {
        {Key({"*.log"}), "c:\\windows", ""},
        {Key({"*.log"}, true), "c:\\windows",
         "FileKey1 reaches the protected folder c:\\windows with RECURSE"},
        {Key({"*.*"}), "c:\\users\\u\\documents",
         "FileKey1 reaches the protected folder c:\\users\\u\\documents with a pattern that "
         "selects every file"},
        {Key({"*.tmp"}, false, true), "d:\\",
         "FileKey1 reaches the drive root d:\\ with REMOVESELF"},
        {Key({"x.log", "*"}), "c:\\users",
         "FileKey1 reaches c:\\users, which holds the protected folder c:\\users\\u with a "
         "pattern that selects every file"},
        {Key({"*.*"}, true), "c:\\windows\\temp", ""},
        {Key({"*.*"}, true), "c:\\users\\u\\appdata\\app", ""},
        {Key({"*.*"}, true), "c:\\program files (x86)", ""},  // not a prefix of "program files"
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileKeyFolderRefusal(c.key, c.folder, kept), c.refusal) << c.folder;
    }
    const struct {
        Winapp2FileKey key;
        const char* path;
        bool refused;
    } wildcards[] = {
        {Key({"*.*"}, true), "c:\\program files\\*", true},
        {Key({"*.*"}, true), "c:\\program files\\mozilla*", true},
        {Key({"*.*"}, true), "c:\\*\\*", true},
        {Key({"*.log"}), "c:\\program files\\*", false},
        {Key({"*.*"}, true), "c:\\program files\\*\\logs", false},
        {Key({"*.*"}, true), "c:\\users\\u\\appdata\\*", false},
        {Key({"*.*"}, true), "c:\\program files\\app", false},
    };
    for (const auto& c : wildcards) {
        EXPECT_EQ(!FileKeyWildcardRefusal(c.key, c.path, kept).empty(), c.refused) << c.path;
    }
}

TEST(Winapp2Rules, WholeKeysNearTheRootOrThatWindowsNeedsAreRefused) {
    const struct {
        const char* line;
        bool refused;
    } cases[] = {
        {"HKCU\\Software", true},
        {"HKCU\\Software\\Microsoft", true},
        {"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion", true},
        {"HKLM\\SYSTEM\\CurrentControlSet\\Services", true},
        {"HKCR\\.txt", true},
        {"HKU\\S-1-5-21\\Software", true},
        {"HKCU\\Software\\Viewer", false},
        {"HKCU\\Software\\Microsoft\\Office\\Recent", false},
        {"HKU\\S-1-5-21\\Software\\Viewer", false},
        {"HKCU\\Software|Value", false},  // one value may always go
    };
    for (const auto& c : cases) {
        const std::string line = c.line;
        Winapp2RegKey key;
        key.key = "RegKey1";
        key.path = *ParseWinapp2Key(line.substr(0, line.find('|')));
        if (line.find('|') != std::string::npos) {
            key.value = line.substr(line.find('|') + 1);
        }
        EXPECT_EQ(!RegKeyRefusal(key).empty(), c.refused) << c.line;
    }
}

TEST(Winapp2Rules, ExclusionsKeepFilesFoldersKeysAndValues) {
    const Winapp2Rules read = ParseWinapp2(
        "[R *]\n"
        "ExcludeKey1=FILE|C:\\App\\|keep.log;*.cfg\n"
        "ExcludeKey2=PATH|C:\\App\\Saved\\|*.db\n"
        "ExcludeKey3=PATH|C:\\App\\Profiles\\*\\Pinned\n"
        "ExcludeKey4=REG|HKCU\\Software\\App\\Pinned\n"
        "ExcludeKey5=REG|HKCU\\Software\\App|Keep\n");
    const Winapp2Rule& rule = read.rules.at(0);
    std::vector<Winapp2FileExclusion> files;
    for (const Winapp2Exclude& exclude : rule.excludes) {
        if (exclude.kind != Winapp2ExcludeKind::Reg) {
            files.push_back(MakeFileExclusion(exclude, NormaliseWinapp2Path(exclude.folder)));
        }
    }
    const struct {
        const char* path;
        bool excluded;
    } fileCases[] = {
        {"c:\\app\\keep.log", true},
        {"C:\\APP\\Settings.CFG", true},
        {"c:\\app\\other.log", false},
        {"c:\\app\\sub\\keep.log", false},  // FILE: one folder
        {"c:\\app\\saved\\a.db", true},
        {"c:\\app\\saved\\deep\\b.db", true},
        {"c:\\app\\saved\\a.txt", false},
        {"c:\\app\\profiles\\x1\\pinned\\f", true},
        {"c:\\app\\profiles\\x1\\other\\f", false},
    };
    for (const auto& c : fileCases) {
        EXPECT_EQ(IsFileExcluded(files, c.path), c.excluded) << c.path;
    }
    EXPECT_TRUE(IsFolderExcluded(files, "c:\\app\\saved"));
    EXPECT_TRUE(IsFolderExcluded(files, "c:\\app\\saved\\deep"));
    EXPECT_TRUE(IsFolderExcluded(files, "c:\\app\\profiles\\p9\\pinned"));
    EXPECT_FALSE(IsFolderExcluded(files, "c:\\app"));
    EXPECT_FALSE(IsFolderExcluded(files, "c:\\app\\profiles\\p9"));

    const std::string keep = "KEEP";
    const std::string other = "Other";
    EXPECT_TRUE(IsRegExcluded(rule.excludes, kCurrentUser, "software\\app\\pinned", nullptr));
    EXPECT_TRUE(IsRegExcluded(rule.excludes, kCurrentUser, "Software\\App\\Pinned\\Deep", &other));
    EXPECT_TRUE(IsRegExcluded(rule.excludes, kCurrentUser, "Software\\App", &keep));
    EXPECT_FALSE(IsRegExcluded(rule.excludes, kCurrentUser, "Software\\App", &other));
    EXPECT_FALSE(IsRegExcluded(rule.excludes, kCurrentUser, "Software\\App", nullptr));
    EXPECT_FALSE(IsRegExcluded(rule.excludes, kLocalMachine, "Software\\App\\Pinned", nullptr));
    EXPECT_TRUE(HoldsRegExclusion(rule.excludes, kCurrentUser, "Software\\App"));
    EXPECT_TRUE(HoldsRegExclusion(rule.excludes, kCurrentUser, "Software\\App\\Pinned"));
    EXPECT_FALSE(HoldsRegExclusion(rule.excludes, kCurrentUser, "Software\\App\\Recent"));
}

TEST(Winapp2Rules, GroupsAndTickNames) {
    Winapp2Rule rule;
    EXPECT_EQ(Winapp2GroupName(rule), "Other");
    rule.langSecRef = 3021;
    EXPECT_EQ(Winapp2GroupName(rule), "Applications");
    rule.langSecRef = 3029;
    EXPECT_EQ(Winapp2GroupName(rule), "Group 3029");
    for (const char* name : {"Viewer", "Paint.NET", "A [b] c", "\xC3\x89t\xC3\xA9"}) {
        EXPECT_TRUE(IsStorableTickName(name)) << name;
    }
    for (const char* name : {"", "a=b", ";a", "[a", " a", "a\x01"}) {
        EXPECT_FALSE(IsStorableTickName(name)) << name;
    }
}

}  // namespace
}  // namespace hm
